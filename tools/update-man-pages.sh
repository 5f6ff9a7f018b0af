#!/bin/sh
# Writes packaging/man/korvane.1 and korvane-run.1 from the programs' own
# --help and --version (with help2man: apt install help2man), and the extra
# sections of packaging/man/*.h2m. Run it on purpose after changing an option
# or its description, with a fresh build; the man page test fails while a
# page misses an option that --help lists.
#   tools/update-man-pages.sh [BUILD_DIR]     (default: build)
set -e
cd "$(dirname "$0")/.."
build=${1:-build}
# English, whatever the machine's language and the settings of whoever runs it.
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
for program in korvane korvane-run; do
    version=$(env HOME="$home" LC_ALL=C.UTF-8 LANGUAGE= "$build/$program" --version | sed 's/.* //')
    case $program in
        korvane) name="IDE for scripts that steer a drawing turtle" ;;
        korvane-run) name="run a Korvane turtle script without a window" ;;
    esac
    env -u DISPLAY -u WAYLAND_DISPLAY HOME="$home" LC_ALL=C.UTF-8 LANGUAGE= \
        help2man --no-info --no-discard-stderr --section=1 --name="$name" \
        --version-string="$program $version" --include="packaging/man/$program.h2m" \
        --output="packaging/man/$program.1" "$build/$program"
done
