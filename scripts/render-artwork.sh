#!/usr/bin/env bash
# Renders the SVG sources under resources/art into the PNGs the program embeds.
# The PNGs are committed, so a build needs none of this; run it after changing
# a drawing (needs rsvg-convert from librsvg2-bin and the DotGothic16 font).
set -euo pipefail
cd "$(dirname "$0")/../resources"

render() { rsvg-convert --format=png -o "$2" "$1"; }

for svg in art/icons/*.svg art/topbar/*.svg art/widgetbar/*.svg art/designslider/*.svg; do
    dir=$(basename "$(dirname "$svg")")
    render "$svg" "$dir/$(basename "$svg" .svg).png"
done

# Page icons: orange when the page is shown, grey otherwise.
active=(-e 's/ACCENT2/#ffb000/g' -e 's/ACCENT/#ff7d00/g' -e 's/SHADE/#6a6a6a/g')
inactive=(-e 's/ACCENT2/#b8b8b8/g' -e 's/ACCENT/#9a9a9a/g' -e 's/SHADE/#6a6a6a/g')
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for template in art/icons/*.svg.in; do
    name=$(basename "$template" .svg.in)
    # The mood icon's inactive file is spelt "inactiv", the others "inaktiv".
    off=inaktiv
    [ "$name" = icon-mood ] && off=inactiv
    sed "${active[@]}" "$template" > "$tmp/on.svg"
    sed "${inactive[@]}" "$template" > "$tmp/off.svg"
    render "$tmp/on.svg" "icons/$name.png"
    render "$tmp/off.svg" "icons/$name-$off.png"
done

for name in lumerax-demo lumerax splash button; do
    render "art/images/$name.svg" "images/$name.png"
done
