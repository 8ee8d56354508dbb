#!/usr/bin/env bash
# Runs every fuzzer of a build for a bounded time, starting from its seeds in tests/fuzz-corpus.
# Fails when any of them finds a crash, a broken property, a hang or a leak; the input that did it
# is kept under <build>/fuzz-artifacts/<target>/.
set -uo pipefail

build=${1:?usage: run-all.sh BUILD_DIR [SECONDS]}
seconds=${2:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
failed=()
export LSAN_OPTIONS="suppressions=$root/fuzz/lsan.supp"
export UBSAN_OPTIONS="print_stacktrace=1"

for fuzzer in "$build"/fuzz/fuzz_*; do
    [ -f "$fuzzer" ] && [ -x "$fuzzer" ] || continue
    name=$(basename "$fuzzer")
    target=${name#fuzz_}
    corpus="$build/fuzz-corpus/$target"
    artifacts="$build/fuzz-artifacts/$target"
    log="$build/fuzz-logs/$target.log"
    mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"

    echo "== $name: $seconds s, log in $log"
    # New inputs go to the first directory, so the committed seeds stay as they are.
    # 200 bytes cover the largest settings file tried; 10 s for one input means it hangs.
    if "$fuzzer" -max_total_time="$seconds" -max_len=200 -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "$corpus" "$root/tests/fuzz-corpus/$target" >"$log" 2>&1; then
        grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' "$log"
    else
        failed+=("$name")
        tail -n 60 "$log"
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "Findings in: ${failed[*]}" >&2
    exit 1
fi
