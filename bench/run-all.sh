#!/usr/bin/env bash
# Runs every benchmark of the project once, offscreen and, where Xvfb is installed, on an X server, and ends with
# a one-screen summary of the figures. Usage: bench/run-all.sh BUILD_DIR [compositor]
# (compositor: that section alone)
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR [compositor]}
only=${2:-}
bin=$build/bench
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
log=$work/log
memcheck_games=40
started=$(date +%s)
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
# Qt warns on every start when this is unset.
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$work/runtime}
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
# The games the benchmarks play are recorded; they must not land in the player's own history.
export XDG_DATA_HOME=$work/data

section() {
    printf '\n===== %s =====\n' "$*" | tee -a "$log"
}

run() {
    "$@" 2>&1 | tee -a "$log"
}

skipped() {
    echo "[summary] $*" | tee -a "$log"
}

offscreen() {
    QT_QPA_PLATFORM=offscreen "$@"
}

on_xvfb() {
    xvfb-run -a env QT_QPA_PLATFORM=xcb "$@"
}

# One program on both window systems.
both() {
    local title=$1
    shift
    section "$title, offscreen"
    run offscreen "$@"
    section "$title, X11 on Xvfb"
    if command -v xvfb-run >/dev/null; then
        run on_xvfb "$@"
    else
        skipped "$title on Xvfb skipped: xvfb-run not found (Debian package xvfb)"
    fi
}

# glibc's per-thread cache would count freed blocks as heap in use; without it the soak's heap figure is exact.
soak_environment() {
    GLIBC_TUNABLES=glibc.malloc.tcache_count=0 QT_QPA_PLATFORM=offscreen "$@"
}

# heaptrack counts every byte the program holds, without glibc's caches or its own bookkeeping; its time line
# (written in massif's format) is cut to the settled games the soak reports, then the mean heap of the first
# and of the last quarter of that stretch are compared. Prints: first-quarter KiB, last-quarter KiB, snapshots.
heap_growth_in() {
    awk -v from="$2" -v to="$3" '
        /^time=/ { t = substr($0, 6) + 0 }
        /^mem_heap_B=/ && t >= from && t <= to {
            heap = substr($0, 12) / 1024
            if (t < from + (to - from) / 4) { first += heap; firstCount++ }
            if (t > to - (to - from) / 4) { last += heap; lastCount++ }
            count++
        }
        END { printf "%.1f %.1f %d\n", first / firstCount, last / lastCount, count }' "$1"
}

soak_under_heaptrack() {
    section "Soak under heaptrack, offscreen"
    if ! command -v heaptrack >/dev/null; then
        skipped "soak under heaptrack skipped: heaptrack not found (Debian package heaptrack)"
        return
    fi
    run soak_environment heaptrack -o "$work/soak" "$bin/bench_soak" --under heaptrack
    heaptrack_print -f "$(ls "$work"/soak.*)" --print-peaks 0 --print-allocators 0 --print-temporary 0 \
        --print-leaks 0 --print-massif "$work/soak.massif" --massif-detailed-freq 0 >"$work/heaptrack.txt" 2>&1
    local figures peak settled first last snapshots
    figures=$(grep -E '^(total runtime|calls to allocation|peak heap|peak RSS|total memory leaked|suppressed)' \
        "$work/heaptrack.txt")
    echo "$figures" | tee -a "$log"
    peak=$(sed -n 's/^peak heap memory consumption: //p' <<<"$figures")
    settled=$(sed -n 's/^Settled play: from \([0-9.]*\) s to \([0-9.]*\) s .*/\1 \2/p' "$log" | tail -1)
    read -r first last snapshots < <(heap_growth_in "$work/soak.massif" $settled)
    echo "[summary] soak (heaptrack's count): peak heap $peak;" \
        "first to last quarter ($snapshots snapshots): $first -> $last KiB," \
        "growth $(awk -v a="$first" -v b="$last" 'BEGIN { printf "%+.1f", b - a }') KiB;" \
        "still allocated at exit $(sed -n 's/^total memory leaked: //p' <<<"$figures")" | tee -a "$log"
}

# Reads one figure of memcheck's closing report, e.g. "definitely lost".
memcheck_figure() {
    sed -n "s/^==[0-9]*== *$1: //p" "$work/memcheck.txt"
}

# Slower by far, so fewer games: what it adds is every invalid access and every block lost on the way.
soak_under_memcheck() {
    section "Soak under valgrind's memcheck, offscreen, $memcheck_games games"
    if ! command -v valgrind >/dev/null; then
        skipped "soak under memcheck skipped: valgrind not found (Debian package valgrind)"
        return
    fi
    run soak_environment valgrind --leak-check=full --log-file="$work/memcheck.txt" \
        "$bin/bench_soak" --games "$memcheck_games" --under memcheck
    run grep -E 'in use at exit|total heap usage|lost:|reachable:|no leaks are possible|ERROR SUMMARY' \
        "$work/memcheck.txt"
    local lost
    lost=$(memcheck_figure "definitely lost")
    if [ -n "$lost" ]; then
        lost="definitely lost $lost, indirectly $(memcheck_figure "indirectly lost"),"
        lost+=" possibly $(memcheck_figure "possibly lost"), still reachable $(memcheck_figure "still reachable")"
    else
        lost="all heap blocks freed"
    fi
    echo "[summary] soak (memcheck): $(memcheck_figure "ERROR SUMMARY" | sed 's/ *(.*//'); at exit: $lost" \
        | tee -a "$log"
}

# weston headless with its debug protocols, one output of the given size; prints weston's pid once its socket
# is there. Its repaint clock claims 60 Hz but runs at about 17.4 ms: judge refresh counts there, not time.
start_weston() {
    local socket=$1 width=$2 height=$3
    printf '[core]\nrepaint-window=16\nidle-time=0\n' >"$work/weston.ini"
    weston --backend=headless-backend.so --shell=fullscreen-shell.so --use-pixman --debug \
        --width="$width" --height="$height" --socket="$socket" --config="$work/weston.ini" \
        >>"$work/weston.log" 2>&1 &
    local pid=$! tries=0
    while [ ! -S "$XDG_RUNTIME_DIR/$socket" ] && [ $tries -lt 100 ]; do sleep 0.1; tries=$((tries + 1)); done
    echo $pid
}

# The main window on the compositor, with its own history; the probe films it meanwhile when given a label, from
# before the game until its answer shows, and the screens it saw off go into the table beside the record's.
on_weston() {
    local socket=$1 pacing=$2 view=$3 blank=$4 probe_label=${5:-}
    # At least four whole cycles, and six seconds.
    local seconds
    seconds=$(awk -v v="$view" -v b="$blank" 'BEGIN { s = int(8 * (v + b)) + 1; print (s < 6 ? 6 : s) }')
    rm -rf "$work/compositor-data"
    XDG_DATA_HOME=$work/compositor-data WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland \
        QT_WAYLAND_SHELL_INTEGRATION=fullscreen-shell-v1 IVOK2_PACING=$pacing \
        "$bin/bench_compositor" "$view" "$blank" $seconds >"$work/compositor.out" 2>&1 &
    local game=$!
    if [ -n "$probe_label" ]; then
        # Films from before the game (the blank field) until the answer shows, which bench_compositor keeps up
        # for 1.5 s after the give-up; the answer and the screen the give-up cut short are left out.
        sleep 0.5
        WAYLAND_DISPLAY=$socket "$work/flicker-probe" "$probe_label" "$seconds.7" 100 \
            "$(awk -v s="$view" 'BEGIN { printf "%d", s * 60 + 0.5 }')" \
            "$(awk -v s="$blank" 'BEGIN { printf "%d", s * 60 + 0.5 }')" 2 >"$work/probe.out" 2>&1
        grep -v '^probe-screen ' "$work/probe.out" | tee -a "$log"
    fi
    wait $game || true
    grep -v '^record-screen ' "$work/compositor.out" | tee -a "$log"
    if [ -n "$probe_label" ]; then
        local probe record both
        probe=$(sed -n 's/^probe: screens \([0-9]*\), screens_off \([0-9]*\),.*$/\2 of \1/p' "$work/probe.out")
        record=$(sed -n 's/^record: screens \(-*[0-9]*\), screens_off \(-*[0-9]*\),.*timing \(.*\)$/\2 of \1 (\3)/p' \
            "$work/compositor.out")
        record=${record/#-1 of/unknown of} # a timer cannot see what the display showed
        both=$(judged_by_both "$work/probe.out" "$work/compositor.out")
        printf '%-34s | %-10s | %-20s | %s\n' "$probe_label" "${probe:-none}" "${record:-none}" "$both" >>"$work/table"
        rm -f "$work/probe.out"
    fi
}

# The screens that the probe filmed without a missed repaint at or within them and that the game judged too,
# each probe screen matched with the game's screen that came up within 40 ms of it: how many, how many of them
# each saw off, and on how many the two disagree by how many refreshes the screen was off.
judged_by_both() {
    awk '
        $1 == "record-screen" { rt[++records] = $2; roff[records] = $3; rknown[records] = $4 }
        $1 == "probe-screen" { pt[++probes] = $2; poff[probes] = $3; psure[probes] = $4 }
        END {
            for (p = 1; p <= probes; ++p) {
                if (!psure[p]) continue
                best = 0
                for (r = 1; r <= records; ++r) {
                    d = pt[p] - rt[r]; if (d < 0) d = -d
                    if (d < 0.04 && (!best || d < bestd)) { best = r; bestd = d }
                }
                if (!best || !rknown[best]) continue
                ++both; po += poff[p] != 0; ro += roff[best] != 0; differ += poff[p] != roff[best]
            }
            if (records == 0) printf "record judges no screen"
            else printf "%d: probe %d, record %d off, differ %d", both, po, ro, differ
        }' "$@"
}

# One busy process per core while the command runs.
loaded() {
    local busy=() core
    for core in $(seq "$(nproc)"); do
        (while :; do :; done) &
        busy+=($!)
    done
    "$@"
    kill "${busy[@]}"
    wait "${busy[@]}" 2>/dev/null || true
}

# Refreshes per screen as the compositor showed them, filmed from outside, for both mechanisms; then the
# processor time per second of flicker at full-HD size, without the probe, which would load the compositor.
compositor() {
    section "Flicker on a Wayland compositor (weston headless)"
    local missing=()
    command -v weston >/dev/null || missing+=(weston)
    compgen -G "/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so" >/dev/null || missing+=(qt6-wayland)
    command -v wayland-scanner >/dev/null || missing+=(libwayland-dev)
    [ -e /usr/share/wayland/wayland.xml ] || missing+=(libwayland-dev)
    command -v cc >/dev/null || missing+=(gcc)
    if [ ${#missing[@]} -gt 0 ]; then
        skipped "compositor section skipped: missing ${missing[*]} (Debian packages weston, qt6-wayland, libwayland-dev)"
        return
    fi
    local probe_dir
    probe_dir=$(dirname "$0")/probe
    wayland-scanner client-header "$probe_dir/weston-screenshooter.xml" "$work/weston-screenshooter-client-protocol.h"
    wayland-scanner private-code "$probe_dir/weston-screenshooter.xml" "$work/weston-screenshooter-protocol.c"
    cc -O2 -I"$work" -o "$work/flicker-probe" "$probe_dir/flicker-probe.c" "$work/weston-screenshooter-protocol.c" \
        -lwayland-client

    local weston settings view blank pacing
    : >"$work/table"
    weston=$(start_weston ivok2-bench-probe 1024 768)
    for settings in "0.1 0.1" "0.3 0.1" "1.0 0.3"; do
        read -r view blank <<<"$settings"
        for pacing in frames timer; do
            on_weston ivok2-bench-probe $pacing "$view" "$blank" "$pacing pacing, $view / $blank s"
        done
    done
    for pacing in frames timer; do
        loaded on_weston ivok2-bench-probe $pacing 0.1 0.1 "$pacing pacing, 0.1 / 0.1 s, $(nproc) busy"
    done
    kill "$weston"
    wait "$weston" 2>/dev/null || true
    {
        printf '\nScreens not exactly their refreshes, as the probe filmed them and as the record of each game says:\n'
        printf '%-34s | %-10s | %-20s | %s\n' run probe "record (timing)" "judged by both: screens off"
        cat "$work/table"
    } | tee -a "$log"
    sed 's/^/[summary] compositor screens off, probe | record: /' "$work/table" >>"$log"

    weston=$(start_weston ivok2-bench-hd 1920 1080)
    for pacing in frames timer; do
        on_weston ivok2-bench-hd $pacing 0.1 0.1
    done
    kill "$weston"
    wait "$weston" 2>/dev/null || true
}

# The per-call benchmarks are built only where Google Benchmark was found.
built() {
    [ -x "$bin/$1" ] && return 0
    skipped "$1 skipped: it needs Google Benchmark (Debian package libbenchmark-dev); install it, then make bench"
    return 1
}

if [ "$only" = compositor ]; then
    compositor
    printf '\n===== Summary =====\n'
    sed -n 's/^\[summary\] //p' "$log"
    exit 0
fi

section "Quiz generation, offscreen"
built bench_quiz && run offscreen "$bin/bench_quiz" --benchmark_report_aggregates_only=true
built bench_flicker && both "Tick cost and cycle accuracy" "$bin/bench_flicker" --benchmark_report_aggregates_only=true
both "Start-up to the first painted window" "$bin/bench_startup"
section "Records of 100 000 games, offscreen"
run offscreen "$bin/bench_records"
both "Wake-ups with no game" "$bin/bench_idle"
compositor
section "Soak, offscreen"
run soak_environment "$bin/bench_soak"
soak_under_heaptrack
soak_under_memcheck

printf '\n===== Summary (%s; %s cores; load %s before, %s after; %d s) =====\n' \
    "$(date -u +%FT%TZ)" "$(nproc)" "$load_before" "$(cut -d' ' -f1-3 /proc/loadavg)" $(($(date +%s) - started))
sed -n 's/^\[summary\] //p' "$log"
