#!/bin/sh
# Fails while a translation lacks a text of the code, keeps one the code no longer has, or leaves one
# unfinished. lupdate brings a copy of each .ts file up to the sources; the originals stay as they are.
# Usage: translations-check.sh LUPDATE SOURCE_DIR TS_FILE...
set -eu
lupdate=$1
source_dir=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
copies=
for ts in "$@"; do
    cp "$ts" "$work/"
    copies="$copies $work/$(basename "$ts")"
done
cd "$source_dir"
# shellcheck disable=SC2086
"$lupdate" -silent -source-language ja_JP -locations none -I . core quiz main dialogs records platform -ts $copies
status=0
for copy in $copies; do
    # The message's source is on the line before its translation.
    if grep -B1 -E 'type="(unfinished|vanished|obsolete)"' "$copy" >"$work/found"; then
        echo "$(basename "$copy"): texts missing, unfinished or no longer in the code:"
        grep '<source>' "$work/found" || cat "$work/found"
        status=1
    fi
done
exit $status
