#!/usr/bin/env bash
# Makes sure that what the build and the tests need is there, on any Linux: it looks for the tools, CMake
# packages and fonts themselves rather than asking the package database, which it asks only about a package it
# has no check for. Whatever is missing is installed with apt-get when run as root where apt-get exists;
# everyone else gets it listed in words, with the apt-get line to run on Debian and its derivatives.
#
# Usage: scripts/setup-deps.sh [PACKAGE...] [--optional PACKAGE...]
# The packages are Debian names, wanted on top of the base set (make bench, make package, make fuzz and
# make test-sanitize name theirs). Those after --optional are used when present: when they cannot be
# installed the script warns and succeeds, and whoever uses them does without.
set -euo pipefail

required=(cmake make g++ qt6-base-dev qt6-charts-dev libqt6sql6-sqlite fonts-ipafont-gothic qt6-translations-l10n
          qt6-l10n-tools qt6-tools-dev)
# The benchmarks and the check of the installed desktop files are skipped without these; the tests in a
# Japanese face that is missing are left out; without the last three the game times its screens on Wayland
# by frame callbacks instead of the compositor's presentation reports.
optional=(libbenchmark-dev desktop-file-utils appstream fonts-noto-cjk libwayland-dev wayland-protocols
          qt6-base-private-dev)
target=required
for argument in "$@"; do
    if [ "$argument" = --optional ]; then
        target=optional
    elif [ $target = required ]; then
        required+=("$argument")
    else
        optional+=("$argument")
    fi
done

have() {
    command -v "$1" >/dev/null
}

# A CMake package configuration file in the places find_package looks by default, or in CMAKE_PREFIX_PATH.
have_cmake_package() {
    local prefix
    local prefixes=(/usr /usr/local)
    [ -n "${CMAKE_PREFIX_PATH:-}" ] && IFS=: read -r -a extra <<<"$CMAKE_PREFIX_PATH" && prefixes+=("${extra[@]}")
    for prefix in "${prefixes[@]}"; do
        compgen -G "$prefix/lib*/cmake/$1/*onfig.cmake" >/dev/null && return 0
        compgen -G "$prefix/lib/*/cmake/$1/*onfig.cmake" >/dev/null && return 0
        compgen -G "$prefix/share/cmake/$1/*onfig.cmake" >/dev/null && return 0
    done
    return 1
}

have_cmake_3_25() {
    have cmake || return 1
    local version
    version=$(cmake --version | sed -n 's/^cmake version \([0-9]*\)\.\([0-9]*\).*/\1 \2/p')
    read -r major minor <<<"$version"
    [ "${major:-0}" -gt 3 ] || { [ "${major:-0}" -eq 3 ] && [ "${minor:-0}" -ge 25 ]; }
}

# A font file of that name pattern where fontconfig looks by default.
have_font() {
    find /usr/share/fonts /usr/local/share/fonts "${HOME:-/nonexistent}/.local/share/fonts" \
        -iname "$1" -print -quit 2>/dev/null | grep -q .
}

# Where the script installs what is missing, it installs both Japanese faces the game accepts, so that the
# tests run in each; elsewhere either one is enough to build and play.
can_install() {
    [ "$(id -u)" -eq 0 ] && have apt-get
}

# The plug-in through which the game keeps its history of games.
have_qt_sqlite() {
    find /usr/lib /usr/local/lib -path '*qt6/plugins/sqldrivers/libqsqlite.so' -print -quit 2>/dev/null | grep -q .
}

# Qt's own Japanese texts, for its dialogs (where Qt looks for translations, or the usual Debian place).
have_qt_japanese() {
    local dirs=(/usr/share/qt6/translations)
    have qtpaths6 && dirs+=("$(qtpaths6 --query QT_INSTALL_TRANSLATIONS 2>/dev/null)")
    find "${dirs[@]}" -name 'qtbase_ja.qm' -print -quit 2>/dev/null | grep -q .
}

# Qt's private headers, through which the game reaches the Wayland connection of its windows.
have_qt_private_headers() {
    find /usr/include /usr/local/include -path '*QtGui/*/QtGui/qpa/qplatformnativeinterface.h' -print -quit \
        2>/dev/null | grep -q .
}

# lupdate and lrelease, where Qt keeps its tools or on the PATH.
have_linguist_tools() {
    local tool dir
    for tool in lupdate lrelease; do
        have "$tool" && continue
        for dir in /usr/lib/qt6/bin /usr/lib/*/qt6/bin /usr/local/lib/qt6/bin; do
            [ -x "$dir/$tool" ] && continue 2
        done
        return 1
    done
}

have_clang_sanitizers() {
    have clang++ && echo 'int main() {}' \
        | clang++ -x c++ -fsanitize=address,undefined,fuzzer-no-link - -o /dev/null 2>/dev/null
}

# Prints what the Debian package provides, in words; fails when it is not there.
check() {
    case $1 in
    cmake) have_cmake_3_25 || { echo "CMake 3.25 or newer"; return 1; } ;;
    make) have make || { echo "make"; return 1; } ;;
    g++) have c++ || have g++ || { echo "a C++20 compiler (g++ 10 or newer, or clang++)"; return 1; } ;;
    qt6-base-dev) have_cmake_package Qt6Widgets && have_cmake_package Qt6Test \
        || { echo "the Qt 6 development files (CMake packages Qt6Widgets and Qt6Test)"; return 1; } ;;
    qt6-charts-dev) have_cmake_package Qt6Charts || { echo "the Qt 6 Charts development files (CMake package Qt6Charts)"; return 1; } ;;
    libqt6sql6-sqlite) have_qt_sqlite || { echo "the SQLite driver of Qt 6 SQL (plugin libqsqlite.so)"; return 1; } ;;
    qt6-translations-l10n) have_qt_japanese || { echo "Qt's Japanese translation (qtbase_ja.qm)"; return 1; } ;;
    qt6-tools-dev) have_cmake_package Qt6LinguistTools \
        || { echo "Qt Linguist's CMake package (Qt6LinguistTools), which builds the translations"; return 1; } ;;
    qt6-l10n-tools) have_linguist_tools || { echo "Qt Linguist's tools lupdate and lrelease"; return 1; } ;;
    fonts-ipafont-gothic) have_font 'ipagp.ttf' || { ! can_install && have_font 'NotoSansCJK*'; } \
        || { echo "the IPA P Gothic font (or Noto Sans CJK JP)"; return 1; } ;;
    fonts-noto-cjk) have_font 'NotoSansCJK*' \
        || { echo "Noto Sans CJK JP: the tests in that face are left out"; return 1; } ;;
    libbenchmark-dev) have_cmake_package benchmark \
        || { echo "Google Benchmark (CMake package benchmark): without it bench_quiz and bench_flicker are skipped"
            return 1; } ;;
    desktop-file-utils) have desktop-file-validate \
        || { echo "desktop-file-validate: without it the install test is skipped"; return 1; } ;;
    appstream) have appstreamcli || { echo "appstreamcli: without it the install test is skipped"; return 1; } ;;
    xvfb) have xvfb-run || { echo "xvfb-run (Xvfb): the X11 figures are skipped"; return 1; } ;;
    xauth) have xauth || { echo "xauth, which xvfb-run needs"; return 1; } ;;
    heaptrack) have heaptrack || { echo "heaptrack: the soak under heaptrack is skipped"; return 1; } ;;
    valgrind) have valgrind || { echo "valgrind: the soak under memcheck is skipped"; return 1; } ;;
    weston) have weston || { echo "weston: the compositor figures are skipped"; return 1; } ;;
    qt6-wayland) compgen -G "/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so" >/dev/null \
        || { echo "Qt's Wayland plug-in: the compositor figures are skipped"; return 1; } ;;
    libwayland-dev) have wayland-scanner && [ -e /usr/include/wayland-client.h ] \
        || { echo "wayland-scanner and the Wayland client library: no presentation reports, no compositor figures"
            return 1; } ;;
    wayland-protocols) [ -e /usr/share/wayland-protocols/stable/presentation-time/presentation-time.xml ] \
        || { echo "the Wayland protocol descriptions: no presentation reports"; return 1; } ;;
    qt6-base-private-dev) have_qt_private_headers \
        || { echo "Qt's private headers (qpa/qplatformnativeinterface.h): no presentation reports"; return 1; } ;;
    clang) have clang++ || { echo "clang++"; return 1; } ;;
    libclang-rt-dev) have_clang_sanitizers || { echo "clang's sanitizer and libFuzzer run-time libraries"; return 1; } ;;
    dpkg-dev) have dpkg-shlibdeps || { echo "dpkg-shlibdeps, which finds the package's dependencies"; return 1; } ;;
    file) have file || { echo "file, which CPack uses to find the programs to scan"; return 1; } ;;
    lintian) have lintian || { echo "lintian: the package is built but not checked"; return 1; } ;;
    *) if have dpkg-query; then
           # No check of its own: the package database answers where there is one.
           dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed' \
               || { echo "not installed, as dpkg says"; return 1; }
       else
           return 2
       fi ;;
    esac
}

missing_required=()
missing_optional=()
described=()
for package in "${required[@]}" "${optional[@]}"; do
    status=0
    what=$(check "$package") || status=$?
    case $status in
    0) ;;
    2) echo "scripts/setup-deps.sh: cannot tell whether '$package' is installed without dpkg-query" >&2; exit 2 ;;
    *) if [[ " ${required[*]} " == *" $package "* ]]; then
           missing_required+=("$package")
           described+=("  $what (Debian: $package)")
       else
           missing_optional+=("$package")
           described+=("  optional: $what (Debian: $package)")
       fi ;;
    esac
done
missing=("${missing_required[@]}" "${missing_optional[@]}")
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ] && have apt-get; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq "${missing[@]}"
    exit 0
fi

if [ ${#missing_required[@]} -gt 0 ]; then
    echo "Missing:" >&2
else
    echo "Not installed (the build goes on without):" >&2
fi
printf '%s\n' "${described[@]}" >&2
if have apt-get; then
    echo "Install with: sudo apt-get install ${missing[*]}" >&2
else
    echo "Other distributions: the README's Install section names the packages." >&2
fi
[ ${#missing_required[@]} -eq 0 ]
