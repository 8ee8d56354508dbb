#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need, where they are missing.
# Extra packages given as arguments are installed too (make fuzz and make test-sanitize add clang,
# make bench adds the X server, heaptrack and valgrind).
set -euo pipefail

packages=(cmake make g++ qt6-base-dev qt6-charts-dev libqt6sql6-sqlite fonts-ipafont-gothic libbenchmark-dev "$@")
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Install them with:" >&2
    echo "  sudo apt-get install ${missing[*]}" >&2
    exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}"
