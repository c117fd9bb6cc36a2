#!/usr/bin/env bash
# Installs what is missing, builds everything, runs every test through ctest, then builds
# everything again under AddressSanitizer and UndefinedBehaviorSanitizer (Qt and the system
# libraries as installed, not instrumented) and runs every test there too, leaks included.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ruv_install_deps

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs" --timeout 600

# The sanitizers' options hold for the build too: it runs the manual's renderer and lists the
# tests of each test program. Leaks found inside Qt or the system libraries are suppressed in
# scripts/sanitizer/lsan.supp, each with its reason. The manual's copy for the program's
# working folder goes into build-san/run, so that run/ keeps the main build's.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/sanitizer/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake -S . -B build-san -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRUV_SANITIZE=ON -DRUV_BENCH=OFF \
  -DRUV_RUN_DIR="$PWD/build-san/run"
cmake --build build-san -j"$jobs"
ctest --test-dir build-san --output-on-failure -j"$jobs" --timeout 900
unset ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS

if [ -x fuzz/run_short.sh ]; then
  bash fuzz/run_short.sh
fi
