#!/usr/bin/env bash
# Long fuzzing campaigns: every fuzz target (or those named) for SECONDS each, with corpora
# kept between campaigns in build/fuzz-corpus/ (outside git) and the committed seeds.
#
#   scripts/fuzz-long.sh SECONDS [TARGET...]     e.g. scripts/fuzz-long.sh 3600 png_io pack
#
# Prints the executions each target reached; crashes are left in build/fuzz-crashes/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?usage: scripts/fuzz-long.sh SECONDS [TARGET...]}
shift
scripts/install-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"
mkdir -p build/fuzz-crashes
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for t in build/fuzz/fuzz/fuzz_*; do [ -x "$t" ] && targets+=("$(basename "$t" | sed 's/^fuzz_//')"); done
fi
status=0
for name in "${targets[@]}"; do
  corpus="build/fuzz-corpus/$name"
  mkdir -p "$corpus"
  seeds=()
  [ -d "fuzz/seeds/$name" ] && seeds+=("fuzz/seeds/$name")
  log="build/fuzz-crashes/$name.log"
  if "build/fuzz/fuzz/fuzz_$name" -max_total_time="$seconds" -max_len=65536 -print_final_stats=1 \
    -artifact_prefix="build/fuzz-crashes/$name-" "$corpus" "${seeds[@]}" >/dev/null 2>"$log"; then
    result=ok
  else
    result=FAILED
    status=1
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  printf '%-16s %-6s %12s executions in %ss, corpus %s files\n' "$name" "$result" "$runs" \
    "$seconds" "$(ls "$corpus" | wc -l)"
done
exit $status
