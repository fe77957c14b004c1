#!/usr/bin/env bash
# Draws the sample photographs of Images/Businesscards: a printed business
# card lying on a desk, rendered with ImageMagick and saved as JPEG with a
# little noise and blur, as a phone camera would take it. All names,
# addresses and numbers are invented.
# Usage: make-cards.sh OUTDIR
set -euo pipefail
out=${1:-Images/Businesscards}
mkdir -p "$out"
sans=/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf
bold=/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

card() { # name angle desk-top desk-bottom accent line1 line2 line3 line4 line5
    local name=$1 angle=$2 top=$3 bottom=$4 accent=$5
    convert -size 1050x600 xc:'#fbfaf6' \
        -fill "$accent" -draw 'rectangle 0,0 1050,18' \
        -font "$bold" -pointsize 58 -fill '#151515' -annotate +70+150 "$6" \
        -font "$sans" -pointsize 38 -fill '#333333' -annotate +70+215 "$7" \
        -pointsize 36 -fill '#151515' -annotate +70+380 "$8" \
        -annotate +70+440 "$9" -annotate +70+500 "${10}" \
        "$tmp/card.png"
    convert -size 1600x1200 gradient:"$top"-"$bottom" -attenuate 0.25 +noise Gaussian \
        \( "$tmp/card.png" -background none -rotate "$angle" \) \
        -gravity center -composite -blur 0x0.8 -attenuate 0.15 +noise Gaussian \
        -quality 85 "$out/$name.jpg"
}

card card-veldra 2 '#6b4a2f' '#8a6240' '#ee7d11' 'Anna Berger' 'Image Processing' \
    'VELDRA Technologies GmbH' 'Phone +49 30 1234 5678' 'anna.berger@veldra.example'
card card-studio -3 '#3d4a55' '#5c6b78' '#2456a8' 'Tom Weller' 'Photographer' \
    'Studio Lichtblick' 'Hauptstrasse 12, 10115 Berlin' 'www.lichtblick.example'
card card-bakery 1 '#7a7a72' '#9c9c94' '#a31d1d' 'Maria Lopez' 'Master Baker' \
    'Lopez Bakery' 'Phone 555 0199' 'hello@lopez-bakery.example'
