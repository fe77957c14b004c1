#!/usr/bin/env bash
# Installs the Debian packages needed to build, test and run Lumerax.
# Idempotent: only packages that are missing are installed.
set -euo pipefail

packages=(
  # toolchain
  g++ cmake ninja-build pkg-config
  # Qt 6
  qt6-base-dev qt6-base-dev-tools qt6-l10n-tools qt6-translations-l10n
  libqt6sql6-sqlite libqt6sql6-mysql
  # image decoding for the business-card reader
  libjpeg62-turbo-dev
  # benchmarks
  libbenchmark-dev
  # server engine for the shared index, used by the tests
  mariadb-server
  # the tests that read rendered text draw it in DejaVu
  fonts-dejavu-core
)

case "${1:-}" in
  --dev)
    # tools for looking at the GUI by hand and for inspecting an index
    packages+=(xvfb xdotool imagemagick sqlite3 clang libfuzzer-14-dev libclang-rt-14-dev)
    # re-rendering the artwork (scripts/render-artwork.sh)
    packages+=(librsvg2-bin fonts-dotgothic16)
    # free fonts for training the business-card templates and for the card
    # evaluation kit (tools/cardtemplates, tools/cardeval)
    packages+=(fonts-dejavu-core fonts-liberation2 fonts-freefont-ttf fonts-roboto fonts-open-sans
      fonts-lato fonts-croscore fonts-crosextra-carlito)
    ;;
  --fuzz)
    # the fuzzers and the sanitizer runtime
    packages+=(clang libfuzzer-14-dev libclang-rt-14-dev)
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
