#!/usr/bin/env bash
# Renders the icon sources to the PNG files that Korvane reads.
# The PNGs are committed; run this after changing a source and commit both.
#
#   tools/render-icons.sh                  render every icon
#   tools/render-icons.sh --sheet OUT.png  also write a contact sheet (needs ImageMagick)
#
# Needs rsvg-convert (Debian: librsvg2-bin).
#
# Keep new icons in the same style: 1-unit outlines in the darker shade of the fill,
# on half-unit coordinates so that they fall on whole pixels at 24 px.
#   ink #3b4450   grey #a9b1bb/#d5dae0 on #5b6470   amber #f6c453/#e9a93a on #9a6a12
#   blue #3d7fd1 on #1d4f8f   green #4caf50 on #2a6e2d   red #e0453a on #962219
#   a script is a white sheet with grey lines (#7a8594); a trace is an orange (#e8731c)
#   zigzag on a pale canvas (#e4f0fc); an exported image is sky, hill and sun.
set -euo pipefail

cd "$(dirname "$0")/.."

SVG=Ressources/svg
# Action icons are drawn on a 24-unit grid and rendered at twice that, so that the
# 24 px tool bar and 16 px menu sizes Qt scales down to stay sharp.
ACTIONS=(
    open save saveAs quit write rubbish exe debugoff debugon turtledir export
    openImg saveImg stop continue restart resdir renderdir french english help stepback
)
APP_SIZES=(16 32 48 64 128 256)

render() { # source, width, height, output
    rsvg-convert --format=png --width="$2" --height="$3" --output="$4" "$1"
}

# Qt picks the @2x file by itself where the display is scaled (200 %, and
# above 150 % where it rounds up), so tool bars stay sharp there too.
for name in "${ACTIONS[@]}"; do
    render "$SVG/$name.svg" 48 48 "Ressources/$name.png"
    render "$SVG/$name.svg" 96 96 "Ressources/$name@2x.png"
done

# The execution arrow is pixel art, drawn unscaled in the editor's gutter.
render "$SVG/fleche.svg" 12 14 Ressources/fleche.png

APP=packaging/icons/korvane.svg
render "$APP" 32 32 icone-32x32.png
for size in "${APP_SIZES[@]}"; do
    dir=packaging/icons/hicolor/${size}x${size}/apps
    mkdir -p "$dir"
    render "$APP" "$size" "$size" "$dir/korvane.png"
done

if [ "${1:-}" = --sheet ]; then
    out=$(realpath -m "${2:?--sheet needs an output file}")
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' EXIT
    icons=()
    for name in "${ACTIONS[@]}"; do
        icons+=("Ressources/$name.png")
    done
    icons+=(icone-32x32.png)
    rows=()
    # Qt scales the 48 px files down smoothly for tool bars and menus; so does this.
    for bg in '#efefef' '#31363b'; do
        for size in 16 24 48; do
            row="$tmp/row-${bg#\#}-$size.png"
            montage "${icons[@]}" -resize "${size}x${size}" -background "$bg" \
                -geometry "${size}x${size}+6+6" -tile "${#icons[@]}x1" "$row"
            rows+=("$row")
        done
    done
    convert "${rows[@]}" -background '#808080' -gravity north -splice 0x4 -gravity west -append "$out"
fi
