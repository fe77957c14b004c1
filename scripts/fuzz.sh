#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang and runs each for SECONDS
# (default 600) on a working copy of its seed corpus in build-fuzz/.
# Usage: scripts/fuzz.sh [SECONDS] [HARNESS...]
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh --fuzz

seconds=${1:-600}
shift || true
build=${LUMERAX_FUZZ_BUILD_DIR:-build-fuzz}
if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DLUMERAX_FUZZ=ON -DLUMERAX_BUILD_GUI=OFF -DLUMERAX_BUILD_TESTS=OFF \
    -DLUMERAX_BUILD_BENCHMARKS=OFF >/dev/null
fi
cmake --build "$build" --target fuzzers

harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
  mapfile -t harnesses < <(cd fuzz && ls fuzz_*.cpp | sed 's/\.cpp$//')
fi

status=0
export QT_QPA_PLATFORM=offscreen
for harness in "${harnesses[@]}"; do
  corpus="$build/corpus/${harness#fuzz_}"
  mkdir -p "$corpus" "$build/findings"
  seeds="fuzz/corpus/${harness#fuzz_}"
  [ -d "$seeds" ] && cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true
  log="$build/findings/$harness.log"
  echo "== $harness: $seconds s"
  if "$build/fuzz/$harness" "$corpus" -max_total_time="$seconds" -rss_limit_mb=4096 \
       -artifact_prefix="$build/findings/$harness-" -print_final_stats=1 >"$log" 2>&1; then
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
    speed=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
    echo "   no finding: $runs runs, $speed executions per second"
  else
    echo "   FINDING: see $log and $build/findings/$harness-*"
    tail -n 40 "$log"
    status=1
  fi
done
exit $status
