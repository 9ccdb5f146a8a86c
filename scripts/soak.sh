#!/usr/bin/env bash
# A monkey campaign: the demo played with seeded random input from the logo on, for MINUTES
# of virtual time per seed, in the AddressSanitizer build.
#
#   scripts/soak.sh SEEDS MINUTES      e.g. scripts/soak.sh 1-200 30
#
# A failing seed is named in the output with its folder of input, trace and dumps, and the
# campaign goes on with the next seed; at the end every failing seed is listed and the script
# exits non-zero. Run `scripts/soak.sh SEED MINUTES` to replay one.
set -euo pipefail
cd "$(dirname "$0")/.."
seeds=${1:?usage: scripts/soak.sh SEEDS MINUTES}
minutes=${2:?usage: scripts/soak.sh SEEDS MINUTES}
scripts/install-deps.sh
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$(nproc)" --target hotaru_tests hotaru-headless
HOTARU_MONKEY_SEEDS="$seeds" HOTARU_MONKEY_MINUTES="$minutes" \
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  build/asan/tests/hotaru_tests --gtest_filter='MonkeyE2E.*'
