#!/usr/bin/env bash
# Builds the program and the demo data and starts it.
#
# At this stage of the project the demo story and the title screen are not built yet: this
# builds what exists (the program, the tools, the runner, the demo font), makes a small demo
# data folder and runs the start-up and shutdown on the headless runner, printing the trace
# of what the program did.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)"

data=build/demo
mkdir -p "$data/files"
# The demo font is built from demo/charset.tbl by the build.
cp build/default/demo/KNJ_ALL.KNJ "$data/files/KNJ_ALL.KNJ"
build/default/tools/hotaru-tool pack build "$data/ZEN2DATA.PAK" "$data/files/KNJ_ALL.KNJ"
printf '[蛍]\nHotaruDir=%s\n' "$(cd "$data" && pwd)" >"$data/hotaru.ini"

echo "== the program starts, reads its settings, opens the pack and the font, and ends:"
status=0
build/default/src/hotaru-headless --ini "$data/hotaru.ini" --trace /dev/stdout \
  --dump-at-exit "$data/state.json" || status=$?
echo "== exit status $status (1 is the normal end); state dump in $data/state.json"
echo "== the profile file $data/hotaru.ini:"
cat "$data/hotaru.ini"
