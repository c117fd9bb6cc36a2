# The fuzz targets, the short-run count of each (about two minutes for all together), and
# options of the target's own that both runs pass to libFuzzer.
# Sourced by run_short.sh and run_long.sh.
RUV_FUZZ_TARGETS=(
  "unpack_datas 300000"
  "reply_reader 50000"
  "sql_grammar 10000"
  "ebnf_compiler 8000"
  "regex 100000"
  "convert 250000"
  "update_analysis 20000"
  "client_file 5000"
  "clauses 4000"
  "sys_config 5000 -max_len=4194304"
)

# The libFuzzer options of one target (empty when it has none).
ruv_fuzz_options() {
  local entry name runs extra
  for entry in "${RUV_FUZZ_TARGETS[@]}"; do
    read -r name runs extra <<<"$entry"
    if [ "$name" = "$1" ]; then
      echo "$extra"
      return
    fi
  done
}

# Configures and builds every target with clang in build-fuzz (or $RUV_FUZZ_BUILD).
ruv_fuzz_build() {
  local build=$1
  CC=clang CXX=clang++ cmake -S fuzz -B "$build" -G Ninja -DRUV_FUZZ=ON >/dev/null
  cmake --build "$build" -j"${RUV_FUZZ_JOBS:-3}"
}
