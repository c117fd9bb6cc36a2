#!/usr/bin/env bash
# Pictures of the main window in each language, for the README: docs/img/main_window_<lang>.png.
# Starts the demo server on a free port and main_window_lang_shot under a virtual X server.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
shot=$build/tests/app/main_window_lang_shot
peer=$build/tests/peer/ruv_test_peer
[ -x "$shot" ] && [ -x "$peer" ] || { echo "build first ($shot, $peer)"; exit 1; }
mkdir -p docs/img
log=$(mktemp)
"$peer" --demo 0 >"$log" 2>&1 &
peer_pid=$!
trap 'kill $peer_pid 2>/dev/null || true; rm -f "$log"' EXIT
port=""
for _ in $(seq 50); do
  port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$log")
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { echo "the demo server did not start"; cat "$log"; exit 1; }
for pair in 1:en 0:zh 2:fr 3:ja; do
  code=${pair%%:*} name=${pair#*:}
  xvfb-run -a -s "-screen 0 1400x900x24" "$shot" 127.0.0.1 "$port" "$code" "docs/img/main_window_$name.png" 2>/dev/null
  echo "docs/img/main_window_$name.png"
done
