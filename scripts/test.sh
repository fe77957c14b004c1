#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
#
#   scripts/test.sh          build and run every test
#   scripts/test.sh --full   also run the engine tests under AddressSanitizer
#                            and UndefinedBehaviorSanitizer, and each fuzzer
#                            for a minute (what CI runs)
#
# Further arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."

full=false
if [ "${1:-}" = "--full" ]; then
  full=true
  shift
fi

./scripts/install-deps.sh

build=${LUMERAX_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja
cmake --build "$build"
(cd "$build" && ctest --output-on-failure -j "$(nproc)" "$@")

if $full; then
  # One clang build serves both: sanitizers on everything, coverage
  # instrumentation for the fuzzers.
  ./scripts/install-deps.sh --fuzz
  sanitized=${LUMERAX_FUZZ_BUILD_DIR:-build-fuzz}
  CC=clang CXX=clang++ cmake -S . -B "$sanitized" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DLUMERAX_FUZZ=ON -DLUMERAX_BUILD_GUI=OFF -DLUMERAX_BUILD_BENCHMARKS=OFF
  cmake --build "$sanitized"
  (cd "$sanitized" && ctest --output-on-failure -j "$(nproc)" -L engine)
  LUMERAX_FUZZ_BUILD_DIR="$sanitized" ./scripts/fuzz.sh 60
fi
