#!/usr/bin/env bash
# Builds everything and runs all the tests: the format check, the normal build, the whole
# suite again under AddressSanitizer and UndefinedBehaviorSanitizer, and a short run of every
# fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

echo "== format (scripts/format.sh rewrites what it names)"
scripts/check-format.sh

jobs=$(nproc)
for preset in default asan; do
  echo "== $preset build and tests"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --preset "$preset" -j "$jobs"
done

echo "== the demo data is the same from both compilers"
cmp build/default/demo/ZEN2DATA.PAK build/asan/demo/ZEN2DATA.PAK ||
  { echo "the demo pack differs between the default (gcc) and asan (clang) builds"; exit 1; }

echo "== fuzz targets (at most 20,000 inputs or 30 seconds each)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
shopt -s nullglob
for target in build/fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="build/fuzz/corpus/$name"
  mkdir -p "$corpus"
  seeds="fuzz/seeds/${name#fuzz_}"
  extra=()
  [ -d "$seeds" ] && extra+=("$seeds")
  "$target" -runs=20000 -max_total_time=30 -max_len=65536 -print_final_stats=0 "$corpus" "${extra[@]}" >/dev/null 2>"build/fuzz/$name.log" ||
    { tail -n 40 "build/fuzz/$name.log"; echo "fuzz target $name failed"; exit 1; }
  echo "$name: ok"
done
echo "all tests passed"
