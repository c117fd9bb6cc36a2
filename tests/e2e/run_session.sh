#!/usr/bin/env bash
# One user session with the real program, end to end (see CMakeLists.txt beside this file):
#   run_session.sh PROGRAM PEER DRIVER FIXTURES OUT [KEEP_LOADED]
# Starts a private Xvfb display and the demo catalogue server, runs the program twice in a
# fresh working folder with the driver preloaded (phase 1: first start; phase 2: start
# again), and checks what the driver cannot see from inside: the exit, the files the program
# wrote (configuration, the script saved at close, the exported CSV), the statements the
# server received and its tables at the end. Pictures and logs stay in OUT. KEEP_LOADED (the
# sanitizer build's scripts/sanitizer/keep_loaded.c) is preloaded into a sanitizer build of
# the program, so that no library is unloaded before the leak check at exit.
set -euo pipefail

mkdir -p "$5"
program=$(realpath "$1") peer=$(realpath "$2") driver=$(realpath "$3") fixtures=$(realpath "$4") out=$(realpath "$5")
work="$out/work"
rm -rf "${out:?}"/*
mkdir -p "$out/shots" "$work" "$out/dump" "$out/runtime"
chmod 700 "$out/runtime"

failures=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then
    echo "ok: $what"
  else
    echo "FAILED: $what"
    failures=$((failures + 1))
  fi
}

xvfb_pid="" peer_pid=""
stop() {
  [ -n "$peer_pid" ] && kill "$peer_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
}
trap stop EXIT

# Waits up to $2 tenths of a second for the command in $3... to succeed.
wait_for() {
  local what=$1 tenths=$2
  shift 2
  for ((i = 0; i < tenths; ++i)); do
    if "$@"; then return 0; fi
    sleep 0.1
  done
  echo "FAILED: $what did not happen in $((tenths / 10)) s"
  return 1
}

# A display of its own: Xvfb picks a free number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$out/display" 2>"$out/xvfb.log" &
xvfb_pid=$!
wait_for "the display start" 100 test -s "$out/display"
display=":$(head -n1 "$out/display")"

"$peer" --demo --log "$out/statements.log" --dump "$out/dump" 0 >"$out/peer.out" 2>&1 &
peer_pid=$!
wait_for "the server start" 300 grep -q '^listening on 127.0.0.1:' "$out/peer.out"
port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$out/peer.out")

cp "$fixtures/session.sql" "$fixtures/more.sql" "$work/"

# A program built with AddressSanitizer needs its runtime first in the library list, before
# the preloaded driver; it runs a few times slower, so a phase may take longer. Its leak
# check at exit names a stack only through libraries still loaded: KEEP_LOADED keeps them.
preload=$driver phase_limit=60
asan_runtime=$(ldd "$program" | awk '/libasan\.so/ { print $3; exit }')
if [ -n "$asan_runtime" ]; then
  keep_loaded=${6:-}
  if [ -z "$keep_loaded" ]; then
    echo "FAILED: a sanitizer build of the program needs KEEP_LOADED (the sixth argument)"
    exit 1
  fi
  # It must export dlclose to take the place of libc's (the build hides symbols by default).
  if ! nm -D --defined-only "$keep_loaded" | grep -w dlclose >/dev/null; then
    echo "FAILED: $keep_loaded does not export dlclose"
    exit 1
  fi
  preload="$asan_runtime:$(realpath "$keep_loaded"):$driver" phase_limit=240
fi

# The program as a user starts it, with nothing of this machine's desktop settings.
run_phase() {
  local phase=$1 rc=0
  (
    cd "$work"
    exec env -u XDG_CURRENT_DESKTOP -u QT_QPA_PLATFORMTHEME -u QT_STYLE_OVERRIDE -u QT_SCALE_FACTOR \
      -u QT_SCREEN_SCALE_FACTORS -u QT_AUTO_SCREEN_SCALE_FACTOR -u SESSION_MANAGER \
      DISPLAY="$display" QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 XDG_RUNTIME_DIR="$out/runtime" \
      E2E_PHASE="$phase" E2E_OUT="$out" E2E_WORK="$work" E2E_PORT="$port" E2E_SERVER_LOG="$out/statements.log" LD_PRELOAD="$preload" \
      timeout -k 5 "$phase_limit" "$program"
  ) >"$out/program_$phase.out" 2>&1 || rc=$?
  echo "phase $phase: program exit $rc, verdict: $(cat "$out/verdict_$phase" 2>/dev/null || echo none)"
  check "phase $phase: the program ended normally" test "$rc" -eq 0
  check "phase $phase: every step passed" grep -qx PASS "$out/verdict_$phase"
}

# The server's log: "ok: TEXT" or "FAIL: TEXT" a line.
not_received_like() { ! grep -qE -- "$1" "$out/statements.log"; }
no_password_in() { test -s "$1" && ! grep -qaF 'e2e-Secret-7' "$1"; }
rows_in() { test -s "$1" && [ "$(($(wc -l <"$1") - 1))" -eq "$2" ]; }

check "no configuration before the first start" test ! -e "$work/config"
run_phase 1

# The driver checked the statements of each step; here what holds for the whole session.
check "nothing after the script's failing statement was ever sent" not_received_like 'never'

# The files of the first session.
check "the exported csv holds the view's rows, byte for byte" cmp "$fixtures/stock_export.csv" "$work/stock_export.csv"
check "the exported csvs holds the table with its header, byte for byte" cmp "$fixtures/stock_all.csvs" "$work/stock_all.csvs"
check "closing the window wrote the unsaved script" cmp <(printf '# stock after the edits\nselect * from e2e_stock;\n') "$work/notes.sql"
check "the script run was not written over" cmp "$fixtures/session.sql" "$work/session.sql"
check "the configuration was written" test -s "$work/config"
check "the configuration holds the user" grep -qaF demo "$work/config"
check "the configuration holds the two scripts" grep -qaF "$work/notes.sql" "$work/config"
check "the configuration holds no password" no_password_in "$work/config"

run_phase 2

# The server's tables at the end.
kill -TERM "$peer_pid"
wait "$peer_pid" || true
peer_pid=""
check "the server dumped its tables" test -s "$out/dump/e2e_stock.tsv"
if [ -s "$out/dump/e2e_stock.tsv" ]; then
  { head -n1 "$out/dump/e2e_stock.tsv"; tail -n +2 "$out/dump/e2e_stock.tsv" | cut -f2-; } >"$out/e2e_stock.values"
  check "the server's table holds the applied edits" cmp "$fixtures/e2e_stock.tsv" "$out/e2e_stock.values"
fi
check "the server's table from the script file" cmp <(printf '#tag:string\tn:i32\na\t1\nb\t2\n') \
  <({ head -n1 "$out/dump/e2e_more.tsv"; tail -n +2 "$out/dump/e2e_more.tsv" | cut -f2-; })
check "the demo tables were left as they were" rows_in "$out/dump/customers.tsv" 200

echo "pictures and logs: $out"
if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  for phase in 1 2; do
    [ -f "$out/driver_$phase.log" ] && { echo "--- driver, phase $phase"; tail -n 5 "$out/driver_$phase.log"; }
  done
  # What the program printed itself (a sanitizer's report, a Qt fatal message) tells why it
  # did not end normally; the CI keeps only this output.
  for phase in 1 2; do
    [ -s "$out/program_$phase.out" ] && { echo "--- program, phase $phase"; tail -n 60 "$out/program_$phase.out"; }
  done
  exit 1
fi
echo "the session passed"
