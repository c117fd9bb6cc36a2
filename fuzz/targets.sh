# The fuzz targets and the short-run count of each (about a minute for all together).
# Sourced by run_short.sh and run_long.sh.
RUV_FUZZ_TARGETS=(
  "unpack_datas 300000"
  "reply_reader 50000"
  "sql_grammar 10000"
  "ebnf_compiler 8000"
  "regex 100000"
  "convert 250000"
  "update_analysis 20000"
)

# Configures and builds every target with clang in build-fuzz (or $RUV_FUZZ_BUILD).
ruv_fuzz_build() {
  local build=$1
  CC=clang CXX=clang++ cmake -S fuzz -B "$build" -G Ninja -DRUV_FUZZ=ON >/dev/null
  cmake --build "$build" -j"${RUV_FUZZ_JOBS:-3}"
}
