#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program in run/ (where it keeps its
# "config" file). When nothing listens on 127.0.0.1:55555 it first starts the demo server
# there (a sample database that accepts any login) and stops it when the program ends, and
# the program it started again after a language switch (a new process) has ended too.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ruv_install_deps
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"

program=build/app/ruv_mdb_cli
peer=build/tests/peer/ruv_test_peer
demo_port=${RUV_DEMO_PORT:-55555}  # another port for trying it beside a server on 55555

listening() { (exec 3<>"/dev/tcp/127.0.0.1/$demo_port") 2>/dev/null; }

peer_pid=""
stop_peer() {
  if [ -n "$peer_pid" ]; then
    echo "stopping the demo server (pid $peer_pid)"
    kill "$peer_pid" 2>/dev/null || true
    wait "$peer_pid" 2>/dev/null || true
  fi
}
trap stop_peer EXIT

if listening; then
  echo "a server already listens on 127.0.0.1:$demo_port: using it"
elif [ -x "$peer" ]; then
  echo "starting the demo server on 127.0.0.1:$demo_port (any user name and password log in)"
  mkdir -p run
  "$peer" --demo "$demo_port" >run/demo_server.log 2>&1 &
  peer_pid=$!
  for _ in $(seq 50); do
    listening && break
    if ! kill -0 "$peer_pid" 2>/dev/null; then
      echo "the demo server did not start; see run/demo_server.log"
      peer_pid=""
      break
    fi
    sleep 0.1
  done
else
  echo "no server on 127.0.0.1:$demo_port and no demo server built ($peer)"
fi

# Every program started from here carries this mark in its environment, and so does the one
# a language switch starts in its place.
session="$$.$RANDOM.$RANDOM"
program_file=$(realpath "$program")
program_running() {
  local p exe
  for p in /proc/[0-9]*; do
    exe=$(readlink "$p/exe" 2>/dev/null) || continue
    [ "${exe% (deleted)}" = "$program_file" ] || continue
    tr '\0' '\n' <"$p/environ" 2>/dev/null | grep -qxF "RUV_RUN_SESSION=$session" && return 0
  done
  return 1
}

mkdir -p run
# The about dialog's licences text, found in the working folder.
[ -e run/licenses.txt ] || ln -s ../app/licenses.txt run/licenses.txt
cd run
status=0
RUV_RUN_SESSION="$session" "$program_file" "$@" || status=$?
if [ -n "$peer_pid" ] && program_running; then
  echo "the program started again (a language switch): the demo server stays until it ends"
  while program_running; do sleep 0.5; done
fi
exit "$status"
