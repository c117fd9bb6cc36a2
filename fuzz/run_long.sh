#!/usr/bin/env bash
# A long run of one target: until 10^7 inputs or the time limit (default one hour), whichever
# comes first, with a working corpus in fuzz/corpus-work/<target> (not committed) that grows
# from the seeds, and its log beside it. Findings land in fuzz/corpus-work/<target>-findings/.
#   bash fuzz/run_long.sh <target> [seconds] [runs] [workers]
# With several workers, as many processes fuzz the one working corpus (each reloads what the
# others add, libFuzzer's -reload), each up to [runs] inputs, logs <target>.<n>.log.
set -euo pipefail
cd "$(dirname "$0")/.."
source fuzz/targets.sh
name=$1
seconds=${2:-3600}
runs=${3:-10000000}
workers=${4:-1}
[[ "$workers" =~ ^[1-9][0-9]*$ ]] || { echo "workers: a count from 1 up, not '$workers'" >&2; exit 2; }
build=${RUV_FUZZ_BUILD:-build-fuzz}
work=fuzz/corpus-work
mkdir -p "$work/$name" "$work/$name-findings"
one() {  # log file
  # shellcheck disable=SC2046 # the options are words
  "$build/fuzz_$name" -runs="$runs" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
    $(ruv_fuzz_options "$name") -close_fd_mask=1 -print_final_stats=1 -artifact_prefix="$work/$name-findings/" \
    "$work/$name" "fuzz/corpus/$name" >"$1" 2>&1
}
if [ "$workers" -le 1 ]; then
  one "$work/$name.log"
  exit
fi
pids=()
for ((n = 1; n <= workers; ++n)); do
  one "$work/$name.$n.log" &
  pids+=($!)
done
rc=0
for pid in "${pids[@]}"; do wait "$pid" || rc=$?; done
exit "$rc"
