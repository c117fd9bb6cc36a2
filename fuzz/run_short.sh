#!/usr/bin/env bash
# Builds every fuzz target and runs each for a fixed number of inputs from its seed corpus
# (fixed seed, so a run repeats), failing on the first finding. New inputs go to a scratch
# directory, never into the repository's corpus.
#   bash fuzz/run_short.sh            # all targets
#   bash fuzz/run_short.sh regex      # some
set -euo pipefail
cd "$(dirname "$0")/.."
source fuzz/targets.sh
build=${RUV_FUZZ_BUILD:-build-fuzz}
ruv_fuzz_build "$build"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
for entry in "${RUV_FUZZ_TARGETS[@]}"; do
  read -r name runs extra <<<"$entry"
  if [ $# -gt 0 ] && [[ " $* " != *" $name "* ]]; then continue; fi
  mkdir -p "$scratch/$name"
  start=$SECONDS
  # shellcheck disable=SC2086 # the options are words
  if "$build/fuzz_$name" -seed=1 -runs="$runs" -timeout=30 -rss_limit_mb=2048 -close_fd_mask=1 $extra \
       -artifact_prefix="$scratch/$name-" "$scratch/$name" "fuzz/corpus/$name" >"$scratch/$name.log" 2>&1; then
    echo "fuzz $name: $runs runs, no finding ($((SECONDS - start)) s)"
  else
    echo "fuzz $name: FINDING after $((SECONDS - start)) s"
    grep -E "ERROR|SUMMARY|invariant|runtime error|Test unit written" "$scratch/$name.log" | head -20 || true
    mkdir -p fuzz/corpus-work/findings && cp "$scratch/$name"-* fuzz/corpus-work/findings/ 2>/dev/null || true
    failed=1
  fi
done
if [ "$failed" -ne 0 ]; then
  echo "fuzz: findings copied to fuzz/corpus-work/findings/"
  exit 1
fi
echo "fuzz: every target ran without a finding"
