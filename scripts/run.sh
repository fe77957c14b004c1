#!/usr/bin/env bash
# Installs what is missing, builds, and starts Lumerax on its default index.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

build=${LUMERAX_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja
cmake --build "$build"

if [ -x "$build/bin/lumerax" ]; then
  exec "$build/bin/lumerax" "$@"
fi
# Until the main window exists, the command-line companion is the program.
exec "$build/bin/lumerax-cli" --help
