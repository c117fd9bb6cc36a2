#!/usr/bin/env bash
# Runs the program's performance benchmarks one after another in one session, each against
# the baseline of its own program, and prints one markdown table of medians (the JSON goes to
# a file of its own: the library prints its messages on standard output):
#   bench/side_by_side.sh [build folder] [repetitions] [folder to keep the JSON and logs in]
# Table model (the 10^6 x 20 load warm and cold, the reload of 1000 rows over it, the
# release, the 10^6 x 5 load warm and cold, each beside its plain-model baseline, and the
# sorts), editor keystroke, background parse, grammar split, completion, document and
# grid search, script runs, tree refresh and the client-mode transfer codecs. The minutes-long
# log_prepend loop of bench_query is left out (its figure is in docs/benchmarks.md).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
reps=${2:-3}
if [ -n "${3:-}" ]; then
  out=$3
  mkdir -p "$out"
else
  out=$(mktemp -d)
  trap 'rm -rf "$out"' EXIT
fi
export QT_QPA_PLATFORM=offscreen

run() {  # name, program, filter
  local name=$1 program=$build/bench/$2 filter=$3
  echo "running $name ($2)" >&2
  "$program" --benchmark_filter="$filter" --benchmark_repetitions="$reps" \
    --benchmark_report_aggregates_only=true --benchmark_out="$out/$name.json" --benchmark_out_format=json \
    >"$out/$name.log" 2>"$out/$name.err" ||
    { echo "$name failed:" >&2; cat "$out/$name.err" >&2; }
}

run table_model table_model/bench_table_model '.'
run editor editor/bench_editor '.'
run editor_lang editor_lang/bench_editor_lang '.'
run grammar grammar/bench_grammar '.'
run script_tab script_tab/bench_script_tab '.'
run text_document text_document/bench_text_document '.'
run grid_search dataview/bench_grid_search '.'
run dbtree dbtree/bench_dbtree '.'
run query query/bench_query '^(BM_baseline_escape|BM_hex_escape|BM_baseline_decode|BM_hex_decode|BM_baseline_exec|BM_result_to)'

echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores, $reps repetitions" >&2
python3 - "$out" <<'EOF'
import json, pathlib, sys
# Cold rows (manual_time) are the child process's own time; the CPU time beside them is the
# parent's waiting, so it is left out. Memory counters (MiB) and a cold child's release
# time are shown where the benchmark reports them.
extras = [("peak_MiB", "peak {:.0f} MiB"), ("held_MiB", "held {:.0f} MiB"), ("server_MiB", "server {:.0f} MiB"),
          ("after_release_MiB", "after release {:.0f} MiB"), ("release_ms", "release {:.3g} ms")]
print("| program | benchmark | median wall | median CPU | memory and more |")
print("|---|---|---|---|---|")
for f in sorted(pathlib.Path(sys.argv[1]).glob("*.json")):
    try:
        data = json.loads(f.read_text())
    except ValueError:
        continue
    for b in data.get("benchmarks", []):
        if b.get("aggregate_name") != "median":
            continue
        unit = b.get("time_unit", "ns")
        name = b["run_name"].split("/iterations")[0].split("/min_warmup")[0]
        cpu = "-" if "manual_time" in b["run_name"] else f"{b['cpu_time']:.3g} {unit}"
        more = ", ".join(fmt.format(b[k]) for k, fmt in extras if k in b and not (k == "server_MiB" and b[k] == 0))
        print(f"| {f.stem} | `{name}` | {b['real_time']:.3g} {unit} | {cpu} | {more} |")
EOF
