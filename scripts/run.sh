#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ruv_install_deps
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
program=build/app/ruv_mdb_cli
if [ -x "$program" ]; then
  # The program keeps its "config" file in the working directory.
  mkdir -p run
  cd run
  exec "../$program" "$@"
else
  echo "built the library; the GUI is not built yet"
fi
