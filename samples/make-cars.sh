#!/usr/bin/env bash
# Draws the sample car photographs of Images/Licenceplates: the back of a car
# in a street with a number plate, rendered with ImageMagick and saved as
# JPEG with a little noise, so they look and compress like camera pictures.
# Usage: make-cars.sh OUTDIR
set -euo pipefail
out=${1:-Images/Licenceplates}
mkdir -p "$out"
font=/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf

car() { # name body-colour plate-text ground-top ground-bottom
    local name=$1 body=$2 plate=$3 top=$4 bottom=$5
    convert -size 800x600 gradient:"$top"-"$bottom" \
        -fill '#3b3b3b' -draw 'polygon 0,470 800,440 800,600 0,600' \
        -fill "$body" -draw 'roundrectangle 170,200 630,470 40,40' \
        -fill "$body" -draw 'polygon 230,210 290,90 510,90 570,210' \
        -fill '#2a3440' -draw 'polygon 255,200 305,105 495,105 545,200' \
        -fill '#c01818' -draw 'roundrectangle 185,250 275,300 10,10' \
        -fill '#c01818' -draw 'roundrectangle 525,250 615,300 10,10' \
        -fill '#f0a020' -draw 'rectangle 190,290 270,298' -draw 'rectangle 530,290 610,298' \
        -fill '#1c1c1c' -draw 'roundrectangle 160,420 640,470 12,12' \
        -fill '#111111' -draw 'roundrectangle 185,465 255,520 10,10' \
        -draw 'roundrectangle 545,465 615,520 10,10' \
        -fill '#f4f4f4' -stroke '#111111' -strokewidth 3 -draw 'roundrectangle 300,330 500,378 6,6' \
        -stroke none -fill '#1d3f9a' -draw 'rectangle 302,332 320,376' \
        -font "$font" -pointsize 34 -fill '#111111' -annotate +330+366 "$plate" \
        -attenuate 0.35 +noise Gaussian -blur 0x0.6 \
        -quality 90 "$out/$name.jpg"
}

car car-red '#a31d1d' 'LX 2008' '#8fb8de' '#d8e4ec'
car car-blue '#2456a8' 'VT 4711' '#c9c2b8' '#efe9e0'
car car-silver '#9aa0a6' 'IP 1234' '#6f8aa6' '#b8c6d4'
