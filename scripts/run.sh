#!/usr/bin/env bash
# Installs what is missing, builds, and starts Lumerax on its default index.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

build=${LUMERAX_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja
cmake --build "$build"

exec "$build/bin/lumerax" "$@"
