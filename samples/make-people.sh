#!/usr/bin/env bash
# Copies the sample portraits of Images/People out of two Debian packages
# (both pictures are in the public domain, see Images/README.md) and sizes
# them so the face localiser finds the faces.
# Usage: make-people.sh OUTDIR   (needs apt-get download, dpkg and ImageMagick)
set -euo pipefail
out=$(realpath -m "${1:-Images/People}")
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"
apt-get download python3-skimage python-matplotlib-data >/dev/null
for deb in *.deb; do dpkg -x "$deb" root; done
astronaut=root/usr/lib/python3/dist-packages/skimage/data/astronaut.png
hopper=root/usr/share/matplotlib/mpl-data/sample_data/grace_hopper.jpg
convert "$astronaut" -resize 60% -quality 92 "$out/astronaut.jpg"
convert "$hopper" -quality 92 "$out/grace-hopper.jpg"
convert "$out/astronaut.jpg" \( "$hopper" -resize 50% -resize x307 \) +append -quality 92 \
    "$out/two-people.jpg"
