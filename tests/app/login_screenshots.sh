#!/usr/bin/env bash
# Screenshots of the login dialog in each language, for the README: docs/img/login_<lang>.png.
# Runs the built program under a virtual X server (Xvfb) in a scratch folder whose "config"
# names the language, photographs the screen, and stops the program.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
program=$root/build/app/ruv_mdb_cli
[ -x "$program" ] || { echo "build the program first ($program)"; exit 1; }
mkdir -p docs/img
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

shot() {  # language code, file suffix
  local code=$1 name=$2
  local dir=$scratch/$name
  mkdir -p "$dir"
  # A short "config" sets what it holds (the language) and leaves the rest at the defaults.
  printf "\\x$(printf %02x "$code")\\x00\\x00\\x00" >"$dir/config"
  xvfb-run -a -s "-screen 0 900x560x24" bash -c '
    cd "$1" && "$2" >/dev/null 2>&1 & pid=$!
    sleep 3
    import -window root "$3"
    kill "$pid"; wait "$pid" 2>/dev/null || true' _ "$dir" "$program" "$dir/shot.png"
  convert "$dir/shot.png" -trim +repage "docs/img/login_$name.png"
  echo "docs/img/login_$name.png"
}

shot 1 en
shot 0 zh
shot 2 fr
shot 3 ja
