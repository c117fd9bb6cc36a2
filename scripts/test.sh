#!/usr/bin/env bash
# Installs what is missing, builds everything, runs every test through ctest, then builds
# the library-side tests again under AddressSanitizer and UndefinedBehaviorSanitizer and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ruv_install_deps

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs" --timeout 600

cmake -S . -B build-san -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRUV_SANITIZE=ON -DRUV_GUI=OFF -DRUV_BENCH=OFF
cmake --build build-san -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-san --output-on-failure -j"$jobs" --timeout 900

if [ -x fuzz/run_short.sh ]; then
  bash fuzz/run_short.sh
fi
