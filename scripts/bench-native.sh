#!/usr/bin/env bash
# Builds the native micro-benchmarks (Release, host compiler, no sanitizers) in build/bench-native
# and runs them, printing Google Benchmark's table. Arguments go to the benchmark program, e.g.
# --benchmark_filter=ScanTick or --benchmark_repetitions=5.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/bench-native
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTV_BENCH=ON \
  -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
cmake --build "$build" --target bench_hot_path
"$build/bench/native/bench_hot_path" "$@"
