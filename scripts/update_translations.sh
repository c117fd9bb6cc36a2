#!/usr/bin/env bash
# Refreshes the zh, fr and ja catalogues (app/lang/ruv_mdb_cli_<lang>.ts) from the sources:
# new texts come in unfinished, translations of texts that are still there are kept, texts
# that are gone are dropped. Then lists what is left to translate. The English catalogue
# stays empty (the sources are English).
set -euo pipefail
cd "$(dirname "$0")/.."

lupdate=$(command -v lupdate || true)
[ -n "$lupdate" ] || lupdate=/usr/lib/qt5/bin/lupdate
[ -x "$lupdate" ] || { echo "lupdate is missing: source scripts/deps.sh && ruv_install_deps" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake -DSOURCE_DIR="$PWD" -DWORK_DIR="$work" -DLUPDATE="$lupdate" -DMODE=update -P app/lang/scan.cmake

for lang in zh fr ja; do
  ts=app/lang/ruv_mdb_cli_$lang.ts
  echo "$ts: $(grep -c '<message' "$ts") entries, $(grep -c 'type="unfinished"' "$ts") unfinished"
done
echo "Translate the unfinished entries (linguist app/lang/ruv_mdb_cli_<lang>.ts, or edit the file),"
echo "then check: cmake --build build && ctest --test-dir build -R lang_catalogues --output-on-failure"
