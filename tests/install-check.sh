#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that every file lands where the desktop looks for it
# and that the desktop entry and the metainfo pass their validators.
# Usage: tests/install-check.sh BUILD_DIR BINDIR DATADIR (the last two relative to the prefix)
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR BINDIR DATADIR}
bindir=${2:?}
datadir=${3:?}
skip=77

for tool in desktop-file-validate:desktop-file-utils appstreamcli:appstream; do
    if ! command -v "${tool%%:*}" >/dev/null; then
        echo "SKIPPED: ${tool%%:*} not found (Debian package ${tool#*:}; scripts/setup-deps.sh installs it)"
        exit $skip
    fi
done

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
share=$prefix/$datadir
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# A PNG's width and height are the big-endian words at bytes 16 and 20.
png_size() {
    od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }'
}

desktop=$share/applications/ivok2.desktop
[ -f "$desktop" ] || fail "no desktop entry at $desktop"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
icon_name=$(sed -n 's/^Icon=//p' "$desktop")
[ -x "$prefix/$bindir/$exec_name" ] || fail "the entry starts '$exec_name', which is not in $bindir/"

[ -f "$share/icons/hicolor/scalable/apps/$icon_name.svg" ] || fail "no scalable icon '$icon_name'"
for size in 16 32 48 64 128 256; do
    png=$share/icons/hicolor/${size}x$size/apps/$icon_name.png
    if [ ! -f "$png" ]; then
        fail "no $size px icon '$icon_name'"
    elif [ "$(png_size "$png")" != "${size}x$size" ]; then
        fail "the $size px icon is $(png_size "$png")"
    fi
done

metainfo=$(find "$share/metainfo" -name '*.metainfo.xml' 2>/dev/null)
if [ "$(wc -w <<<"$metainfo")" -ne 1 ]; then
    fail "expected one metainfo file in $datadir/metainfo, found: ${metainfo:-none}"
else
    grep -q "<launchable type=\"desktop-id\">ivok2.desktop</launchable>" "$metainfo" \
        || fail "the metainfo does not launch ivok2.desktop"
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $(basename "$metainfo")"
    appstreamcli validate-tree --no-net "$prefix" || fail "appstreamcli rejects the installed tree"
fi

# The manual page in English and in Japanese, each naming the program.
for page in man/man6/ivok2.6.gz man/ja/man6/ivok2.6.gz; do
    if [ ! -f "$share/$page" ]; then
        fail "no manual page $datadir/$page"
    elif ! gzip -dc "$share/$page" | grep -q '^\.TH IVOK2 6'; then
        fail "$datadir/$page is no manual page of ivok2"
    fi
done

# desktop-file-validate exits 0 on warnings: any output counts.
report=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate rejects the entry"
[ -z "$report" ] || fail "desktop-file-validate: $report"

[ $failures -eq 0 ] || exit 1
echo "Installed tree and validators: all checks passed"
