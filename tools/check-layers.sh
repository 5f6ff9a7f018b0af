#!/bin/sh
# Fails when a library includes a header of a library above it, or one it
# must reach only through another (the widgets see the machine through the
# run session). Run by CTest.
cd "$(dirname "$0")/../src" || exit 2

allowed() {
    case $1 in
        system) echo "" ;;
        turtle) echo "system" ;;
        vm) echo "system turtle" ;;
        frontend) echo "system turtle vm" ;;
        session) echo "system turtle vm frontend" ;;
        render) echo "system turtle" ;;
        widgets) echo "system turtle frontend session render" ;;
        app) echo "system turtle frontend session render widgets" ;;
    esac
}

status=0
for layer in system turtle vm frontend session render widgets app; do
    ok=$(allowed "$layer")
    for line in $(grep -o '#include "[a-z]*/' "$layer"/*.h "$layer"/*.cpp 2>/dev/null | sed 's/#include "//; s/\/$//'); do
        file=${line%%:*}
        used=${line#*:}
        case " $ok " in
            *" $used "*) ;;
            *)
                echo "src/$file includes a header of $used, which $layer may not use"
                status=1
                ;;
        esac
    done
done
exit $status
