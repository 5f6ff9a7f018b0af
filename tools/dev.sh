#!/usr/bin/env bash
# Set-up, build and test of Korvane on Debian 12.
#
#   tools/dev.sh run     install what is missing, build, start the IDE
#   tools/dev.sh test    install what is missing, build, run every test, check the package
#   tools/dev.sh build   install what is missing, build
#   tools/dev.sh deps    install what is missing
#   tools/dev.sh fuzz [SECONDS]
#                        run each fuzz target SECONDS seconds (default 600)
set -euo pipefail

cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD=${KORVANE_BUILD_DIR:-$ROOT/build}
QT5_BUILD=${KORVANE_QT5_BUILD_DIR:-$ROOT/build-qt5}
ASAN_BUILD=${KORVANE_ASAN_BUILD_DIR:-$ROOT/build-asan}
FUZZ_BUILD=${KORVANE_FUZZ_BUILD_DIR:-$ROOT/build-fuzz}
FUZZ_TARGETS=(run trace catalogue highlighter runner)
JOBS=$(nproc 2>/dev/null || echo 2)
# A compiler cache, when the machine has one, makes rebuilds of other folders
# and branches cheap; a fresh machine builds without it.
LAUNCHER=()
if command -v ccache >/dev/null 2>&1; then
    LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

PACKAGES=(
    build-essential cmake
    qt6-base-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-translations-l10n
    qt6-svg-dev libgl-dev
    qtbase5-dev qttools5-dev qttools5-dev-tools qttranslations5-l10n
    libqt5svg5-dev
    clang libclang-rt-14-dev
    xvfb xauth imagemagick xdotool
    fonts-dejavu-core
    dpkg-dev desktop-file-utils appstream shared-mime-info libglib2.0-bin
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

# stage NAME COMMAND...: runs a stage of the test command and notes its time;
# the times are printed at the end, also when a stage fails (set -e then ends
# the script inside the stage, which is reported as failed).
STAGES=()
CURRENT_STAGE=
CURRENT_START=0
stage() {
    CURRENT_STAGE=$1
    CURRENT_START=$SECONDS
    shift
    "$@"
    STAGES+=("$(printf '%-36s %5d s' "$CURRENT_STAGE" $((SECONDS - CURRENT_START)))")
    CURRENT_STAGE=
}
print_stages() {
    if [ -n "$CURRENT_STAGE" ]; then
        STAGES+=("$(printf '%-36s %5d s  FAILED' "$CURRENT_STAGE" $((SECONDS - CURRENT_START)))")
    fi
    [ ${#STAGES[@]} -gt 0 ] || return 0
    echo
    echo "Stages of the test command:"
    printf '  %s\n' "${STAGES[@]}"
    printf '  %-36s %5d s\n' total "$SECONDS"
}

# Each build folder holds one configuration, configured once and built once.
build() {
    # Qt 6. Prefix /usr: the Debian package built from this tree installs there.
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
        -DKORVANE_QT_MAJOR=6 "${LAUNCHER[@]}"
    cmake --build "$BUILD" -j "$JOBS"
}

build_qt5() {
    # The benchmarks are the Qt 6 build's; the other folders build what they test.
    cmake -S "$ROOT" -B "$QT5_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANE_QT_MAJOR=5 \
        -DKORVANE_BENCH=OFF "${LAUNCHER[@]}"
    cmake --build "$QT5_BUILD" -j "$JOBS"
}

build_asan() {
    cmake -S "$ROOT" -B "$ASAN_BUILD" -DCMAKE_BUILD_TYPE=Debug -DKORVANE_SANITIZE=ON -DKORVANE_QT_MAJOR=6 \
        -DKORVANE_BENCH=OFF "${LAUNCHER[@]}"
    cmake --build "$ASAN_BUILD" -j "$JOBS"
}

test_asan() {
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    LSAN_OPTIONS=suppressions="$ROOT/tools/lsan.supp" \
        ctest --test-dir "$ASAN_BUILD" --output-on-failure -j "$JOBS"
}

test_all() {
    trap print_stages EXIT
    stage "Qt 6: build" build
    stage "Qt 6: tests" ctest --test-dir "$BUILD" --output-on-failure -j "$JOBS"

    # The same tree still builds and passes with Qt 5.15.
    stage "Qt 5: build" build_qt5
    stage "Qt 5: tests" ctest --test-dir "$QT5_BUILD" --output-on-failure -j "$JOBS"

    # Every test again, under AddressSanitizer and UBSan (Qt 6).
    stage "Sanitizers: build" build_asan
    stage "Sanitizers: tests" test_asan

    stage "Package" package_check

    # Each fuzz target briefly, so that a regression shows here.
    stage "Fuzz targets: build and 20 s each" fuzz_all 20
}

# Builds the Debian package, unpacks it into a scratch root and runs the
# unpacked runner from another folder: it must find its data by itself.
package_check() {
    local scratch
    scratch=$(mktemp -d)
    rm -f "$BUILD"/package/*.deb
    (cd "$BUILD" && cpack -G DEB -B "$BUILD/package")
    # The runner links no widgets, printing or D-Bus of its own (QtGui brings D-Bus on Linux).
    if ldd "$BUILD/korvane-run" | grep -E -q 'libQt[56](Widgets|PrintSupport)'; then
        echo "korvane-run links Qt Widgets or Print Support"
        return 1
    fi
    local deb
    deb=$(ls "$BUILD"/package/korvane_*.deb)
    dpkg-deb --field "$deb" Depends | grep -q libqt6widgets6
    dpkg-deb -x "$deb" "$scratch/root"

    desktop-file-validate "$scratch"/root/usr/share/applications/*.desktop
    appstreamcli validate --no-net "$scratch"/root/usr/share/metainfo/*.metainfo.xml

    mkdir "$scratch/elsewhere"
    printf 'Tur=Asm\nmove:1\n' > "$scratch/elsewhere/broken.tur"

    # The file manager knows both formats, by suffix and by first line, and
    # offers Korvane for them; the icons are in the executable, not in files.
    grep -qx 'MimeType=text/x-korvane-script;text/x-korvane-trace;' "$scratch"/root/usr/share/applications/*.desktop
    update-mime-database "$scratch/root/usr/share/mime"
    printf 'Tur=Res\nN 0 0\n' > "$scratch/elsewhere/drawing"
    for file in broken.tur:text/x-korvane-script drawing:text/x-korvane-trace; do
        XDG_DATA_DIRS="$scratch/root/usr/share" gio info -a standard::content-type \
            "$scratch/elsewhere/${file%%:*}" | grep -q "content-type: ${file#*:}$"
    done
    # Other programs' .res files keep their type beside Korvane's traces: Godot's
    # resources, binary and text, when the system's database knows them.
    if grep -qx 'application/x-godot-resource' /usr/share/mime/types 2>/dev/null; then
        printf 'RSRC\0\0\0\0\3\0\0\0\1\0\0\0' > "$scratch/elsewhere/binary.res"
        printf '[gd_resource type="Theme" format=3]\n' > "$scratch/elsewhere/text.res"
        printf 'Tur=Res\nN 0 0\n' > "$scratch/elsewhere/trace.res"
        for file in binary.res:application/x-godot-resource text.res:application/x-godot-resource \
            trace.res:text/x-korvane-trace; do
            XDG_DATA_DIRS="$scratch/root/usr/share:/usr/share" gio info -a standard::content-type \
                "$scratch/elsewhere/${file%%:*}" | grep -q "content-type: ${file#*:}$"
        done
    fi
    [ ! -e "$scratch/root/usr/share/korvane/Ressources" ]

    # The licence, the Debian copyright file and the manual pages of both programs.
    cmp "$ROOT/LICENSE" "$scratch/root/usr/share/doc/korvane/LICENSE"
    grep -qx 'License: GPL-3.0-or-later' "$scratch/root/usr/share/doc/korvane/copyright"
    grep -q '<project_license>GPL-3.0-or-later</project_license>' "$scratch"/root/usr/share/metainfo/*.metainfo.xml
    for page in korvane korvane-run; do
        zcat "$scratch/root/usr/share/man/man1/$page.1.gz" | grep -q "^\.SH NAME"
    done
    # The window is tied to its launcher; the screenshots are the images of doc/.
    grep -qx 'StartupWMClass=Korvane' "$scratch"/root/usr/share/applications/*.desktop
    for image in $(sed -n 's|.*<image>.*/\([^/<]*\)</image>.*|\1|p' "$scratch"/root/usr/share/metainfo/*.metainfo.xml); do
        [ -f "$ROOT/doc/$image" ]
    done
    (
        cd "$scratch/elsewhere"
        unset LD_LIBRARY_PATH
        QT_QPA_PLATFORM=offscreen "$scratch/root/usr/bin/korvane" --version | grep -q '^Korvane 1.0.0$'
        # A wrong command line is answered without a display.
        status=0
        env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$scratch/root/usr/bin/korvane" --bogus 2> bogus.txt \
            || status=$?
        [ "$status" -eq 1 ]
        grep -q "Unknown option 'bogus'" bogus.txt
        "$scratch/root/usr/bin/korvane-run" "$scratch/root/usr/share/korvane/TurtleCodes/square.tur" --res square.res
        head -n 1 square.res | grep -qx 'Tur=Res'
        # A failing script shows the catalogue was found: its French text, exit status 1.
        status=0
        "$scratch/root/usr/bin/korvane-run" --lang fr broken.tur 2> messages.txt || status=$?
        [ "$status" -eq 1 ]
        grep -q 'à la fin de la ligne 2' messages.txt
    )
    rm -rf "$scratch"
    if [ -e /usr/share/korvane ]; then
        echo "Note: Korvane is also installed in /usr; the unpacked runner may have read that copy's data."
    fi
    echo "Package $deb installs and runs from another folder."
}

build_fuzz() {
    cmake -S "$ROOT" -B "$FUZZ_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANE_FUZZ=ON \
        -DCMAKE_CXX_COMPILER=clang++ -DKORVANE_QT_MAJOR=6 -DKORVANE_BENCH=OFF "${LAUNCHER[@]}"
    cmake --build "$FUZZ_BUILD" -j "$JOBS" --target fuzz
}

# fuzz_one TARGET SECONDS: from a scratch copy of the target's seed corpus;
# a finding (crash, leak, timeout, sanitizer report) fails it and is kept in
# $FUZZ_BUILD/findings.
fuzz_one() {
    local target=$1 seconds=$2
    local work log=$FUZZ_BUILD/fuzz_$1.log
    work=$(mktemp -d)
    mkdir -p "$FUZZ_BUILD/findings"
    local status=0 dict=()
    if [ -f "$ROOT/fuzz/$target.dict" ]; then
        dict=(-dict="$ROOT/fuzz/$target.dict")
    fi
    # Traces are read a piece of 64 KiB at a time: longer inputs cross pieces.
    if [ "$target" = trace ]; then
        dict+=(-max_len=200000)
    fi
    "$FUZZ_BUILD/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 \
        -print_final_stats=1 -artifact_prefix="$FUZZ_BUILD/findings/$target-" "${dict[@]}" \
        "$work" "$ROOT/fuzz/corpus/$target" >"$log" 2>&1 || status=$?
    rm -rf "$work"
    if [ "$status" -ne 0 ]; then
        echo "fuzz_$target: FINDING (status $status), see $log and $FUZZ_BUILD/findings"
        grep -E -A12 '^==[0-9]+==(ERROR|WARNING)|runtime error|ALARM|deadly signal|out-of-memory' "$log" | head -40 || true
        return 1
    fi
    echo "fuzz_$target: $(grep -E '^Done [0-9]+ runs' "$log"), nothing found"
}

# fuzz_all SECONDS: every target, two at a time on the two cores.
fuzz_all() {
    local seconds=$1 failed=0
    build_fuzz
    for ((i = 0; i < ${#FUZZ_TARGETS[@]}; i += 2)); do
        local pids=()
        for target in "${FUZZ_TARGETS[@]:i:2}"; do
            fuzz_one "$target" "$seconds" &
            pids+=($!)
        done
        for pid in "${pids[@]}"; do
            wait "$pid" || failed=1
        done
    done
    return "$failed"
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
    fuzz) deps; fuzz_all "${2:-600}" ;;
    *) sed -n '2,9p' "$0" >&2; exit 2 ;;
esac
