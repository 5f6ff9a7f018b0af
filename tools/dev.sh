#!/usr/bin/env bash
# Set-up, build and test of Korvane on Debian 12.
#
#   tools/dev.sh run     install what is missing, build, start the IDE
#   tools/dev.sh test    install what is missing, build, run every test
#   tools/dev.sh build   install what is missing, build
#   tools/dev.sh deps    install what is missing
set -euo pipefail

cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD=${KORVANE_BUILD_DIR:-$ROOT/build}
ASAN_BUILD=${KORVANE_ASAN_BUILD_DIR:-$ROOT/build-asan}
JOBS=$(nproc 2>/dev/null || echo 2)

PACKAGES=(
    build-essential cmake
    qtbase5-dev qttools5-dev qttools5-dev-tools qttranslations5-l10n
    libqt5svg5-dev
    clang libclang-rt-14-dev
    xvfb xauth imagemagick xdotool
    fonts-dejavu-core
)

deps() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$p")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "Installing: ${missing[*]}"
    local sudo=
    if [ "$(id -u)" -ne 0 ]; then
        sudo=sudo
    fi
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

build() {
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$BUILD" -j "$JOBS"
}

test_all() {
    build
    ctest --test-dir "$BUILD" --output-on-failure -j "$JOBS"

    # The engine tests again, under AddressSanitizer and UBSan.
    cmake -S "$ROOT" -B "$ASAN_BUILD" -DCMAKE_BUILD_TYPE=Debug -DKORVANE_SANITIZE=ON
    cmake --build "$ASAN_BUILD" -j "$JOBS"
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir "$ASAN_BUILD" --output-on-failure -j "$JOBS" -L engine
}

run_ide() {
    build
    exec "$BUILD/korvane"
}

case "${1:-}" in
    deps) deps ;;
    build) deps; build ;;
    test) deps; test_all ;;
    run) deps; run_ide ;;
    *) sed -n '2,8p' "$0" >&2; exit 2 ;;
esac
