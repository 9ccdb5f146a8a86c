#!/usr/bin/env bash
# Rewrites the expectations of the golden playthroughs (tests/golden/NAME.expect) from the
# current build, for when the demo or the game changed on purpose, and shows what changed.
#
#   scripts/update-golden.sh            every playthrough
#   scripts/update-golden.sh NAME…      only these (tests/golden/NAME.input)
#
# It builds what the playthroughs need in build/default (the programs, the demo data and the
# test binary; configured first if needed), then runs the golden test in its update mode
# (HOTARU_UPDATE_GOLDEN=1), which writes each run's summary instead of comparing it. Review
# the diff it prints before committing the .expect files.
set -euo pipefail
cd "$(dirname "$0")/.."

filter="Demo/GoldenPlaythrough.*"
if [ "$#" -gt 0 ]; then
  filter=""
  for name in "$@"; do
    if [ ! -f "tests/golden/$name.input" ]; then
      echo "update-golden: no tests/golden/$name.input" >&2
      exit 2
    fi
    filter="$filter${filter:+:}Demo/GoldenPlaythrough.PlaysAsExpected/${name//[^A-Za-z0-9_]/_}"
  done
fi

if [ ! -f build/default/CMakeCache.txt ]; then cmake --preset default >/dev/null; fi
# A new .input file is found by the build (the test binary lists the playthroughs).
cmake --build --preset default -j "$(nproc)" --target hotaru_tests

HOTARU_UPDATE_GOLDEN=1 build/default/tests/hotaru_tests --gtest_filter="$filter"

untracked=$(git ls-files --others --exclude-standard -- 'tests/golden/*.expect')
if git diff --quiet -- tests/golden && [ -z "$untracked" ]; then
  echo "== the expectations are unchanged"
  exit 0
fi
echo "== changes to the expectations"
git --no-pager diff --stat -- tests/golden
git --no-pager diff -- tests/golden
if [ -n "$untracked" ]; then
  echo "== new expectations (not yet in git)"
  for file in $untracked; do
    echo "--- $file"
    cat "$file"
  done
fi
