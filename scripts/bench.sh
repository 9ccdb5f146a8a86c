#!/usr/bin/env bash
# The figures of the hot paths' goals, one line each, for whoever changes those paths:
#   idle CPU at a click wait, the real length of a 48-step fade, the headless runner's speed
#   on the demo story, block unpacking, the encoder on pictures, and the picture decoder.
# Each figure is given as min and median over several runs (REPS, default 5); the machine
# may be shared, so the median is the one to quote. The SDL figures need Xvfb; without it
# they are skipped with a note.
#
#   scripts/bench.sh            all goals
#   REPS=9 scripts/bench.sh     more runs
set -euo pipefail
cd "$(dirname "$0")/.."
reps="${REPS:-5}"
build=build/default
cmake --preset default >/dev/null
cmake --build --preset default --target hotaru_bench hotaru hotaru-headless demo_data \
  >/dev/null
bench="$build/bench/hotaru_bench"
demo="$(pwd)/$build/demo"
work="$(mktemp -d)"
xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# min and median of numbers on stdin, with a printf format.
stats() {
  python3 -c '
import statistics, sys
v = sorted(float(x) for x in sys.stdin.read().split())
fmt = sys.argv[1]
print(("min " + fmt + ", median " + fmt) % (v[0], statistics.median(v)))' "$1"
}

# One Google Benchmark figure per repetition: FIELD of the runs whose name matches NAME.
bench_field() {
  local filter="$1" name="$2" field="$3"
  "$bench" --benchmark_filter="$filter" --benchmark_repetitions="$reps" \
    --benchmark_format=json 2>/dev/null |
    python3 -c '
import json, sys
name, field = sys.argv[1], sys.argv[2]
for b in json.load(sys.stdin)["benchmarks"]:
    if b.get("run_type") == "iteration" and b["name"].startswith(name):
        print(b[field])' "$name" "$field"
}

start_xvfb() {
  command -v Xvfb >/dev/null || return 1
  local n
  for n in 91 92 93 94 95 96 97 98; do
    [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    sleep 1
    if kill -0 "$xvfb_pid" 2>/dev/null; then
      export DISPLAY=":$n"
      return 0
    fi
  done
  return 1
}

# CPU nanoseconds and context switches (wake-ups) of all of a process's threads.
process_cpu() { cat /proc/"$1"/task/*/schedstat | awk '{s += $1} END {print s}'; }
process_switches() {
  cat /proc/"$1"/task/*/status | awk '/ctxt_switches/ {s += $2} END {print s}'
}

# 1. CPU of `hotaru` while the demo's first page waits for a click, over 20 s (music and
# sound off: the figure is the program's own, not the decoder's of a music track).
idle_cpu() {
  local config="$work/config" cpu=() wake=() i
  mkdir -p "$config/hotaru"
  printf '[蛍]\nHotaruDir=%s\nMusic=OFF\nPcm=OFF\n' "$demo" >"$config/hotaru/hotaru.ini"
  for ((i = 0; i < ${IDLE_RUNS:-3}; ++i)); do
    XDG_CONFIG_HOME="$config" SDL_AUDIODRIVER=dummy "$build/src/hotaru" >/dev/null 2>&1 &
    local pid=$!
    # The story's first page is typed out and waits within a few seconds.
    sleep 10
    local t0 s0 t1 s1
    t0=$(process_cpu "$pid")
    s0=$(process_switches "$pid")
    sleep 20
    t1=$(process_cpu "$pid")
    s1=$(process_switches "$pid")
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    cpu+=("$(python3 -c "print(100 * ($t1 - $t0) / 1e9 / 20)")")
    wake+=("$(python3 -c "print(($s1 - $s0) / 20)")")
  done
  echo "idle CPU at a click wait (goal <= 0.5 % of a core): $(printf '%s\n' "${cpu[@]}" |
    stats '%.2f %%'); wake-ups a second: $(printf '%s\n' "${wake[@]}" | stats '%.0f')"
}

# 2. Real length of 48 fade steps of 10 ms (the runner: 529 ms).
fade_pacing() {
  local ms
  ms=$(bench_field 'BM_SdlFortyEightFadeSteps' 'BM_SdlFortyEightFadeSteps' real_time)
  echo "48-step fade, real ms (goal: within 1 % of the runner's 529): $(echo "$ms" |
    stats '%.1f ms')"
}

# 3. The headless runner playing the demo story through (an arrow half a second before
# each click every 2 s takes the choice): virtual time over real time, and over CPU time,
# which the machine's load does not stretch.
runner_speed() {
  local ini="$work/runner.ini" input="$work/story.txt" i walls=() cpus=()
  printf '[蛍]\nHotaruDir=%s\n' "$demo" >"$ini"
  for ((t = 2000; t <= 300000; t += 2000)); do
    echo "at $((t - 500)) key down"
    echo "at $t click"
  done >"$input"
  for ((i = 0; i < reps; ++i)); do
    local times="$work/times.txt" virtual wall user sys
    /usr/bin/time -f '%e %U %S' -o "$times" "$build/src/hotaru-headless" --ini "$ini" \
      --new-game --input "$input" --trace "$work/trace.txt" --until 300000 >/dev/null 2>&1 || true
    virtual=$(tail -n 1 "$work/trace.txt" | awk '{print $1 / 1000}')
    read -r wall user sys < <(tail -n 1 "$times")
    local figures
    figures=$(python3 -c "print($virtual / max($wall, 0.001), $virtual / max($user + $sys, 0.001))")
    walls+=("${figures% *}")
    cpus+=("${figures#* }")
  done
  echo "headless runner on the demo story (goal >= 1000x real time): $(printf '%s\n' \
    "${walls[@]}" | stats '%.0fx'); over CPU time $(printf '%s\n' "${cpus[@]}" | stats '%.0fx')"
}

# 4. Block unpacking on many scenes' story text, and the classic ring decoder beside it.
unpack_speed() {
  local fast ring
  fast=$(bench_field 'BM_UnpackStoryBlocks/0' 'BM_UnpackStoryBlocks/0' bytes_per_second)
  ring=$(bench_field 'BM_UnpackStoryBlocks/1' 'BM_UnpackStoryBlocks/1' bytes_per_second)
  local fm rm
  fm=$(echo "$fast" | python3 -c 'import statistics,sys; print(statistics.median(float(x) for x in sys.stdin.read().split()))')
  rm=$(echo "$ring" | python3 -c 'import statistics,sys; print(statistics.median(float(x) for x in sys.stdin.read().split()))')
  echo "block unpack on story text (goal >= 1000 MB/s and >= 2x the ring decoder):" \
    "$(echo "$fast" | awk '{print $1 / 1e6}' | stats '%.0f MB/s');" \
    "ring decoder $(echo "$ring" | awk '{print $1 / 1e6}' | stats '%.0f MB/s');" \
    "ratio of medians $(python3 -c "print('%.2f' % ($fm / $rm))")"
}

# 5. The encoder on every picture of the demo: the slowest picture's median.
encoder_speed() {
  local json="$work/encoder.json"
  "$bench" --benchmark_filter='BM_PackDemoPicture' --benchmark_repetitions="$reps" \
    --benchmark_report_aggregates_only=true --benchmark_format=json >"$json" 2>/dev/null
  python3 - "$json" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
if any("error_message" in b for b in runs):
    print("encoder on pictures: " + next(b["error_message"] for b in runs if "error_message" in b))
    sys.exit()
medians = {b["run_name"].split("/")[1]: b["bytes_per_second"] / 1e6
           for b in runs if b.get("aggregate_name") == "median"}
if not medians:
    print("encoder on pictures: no demo pictures built")
else:
    slow = min(medians, key=medians.get)
    print("encoder on the %d demo pictures (goal >= 5 MB/s on every one, output equal to the"
          " exhaustive parse): slowest %s %.1f MB/s, fastest %.1f MB/s (medians)"
          % (len(medians), slow, medians[slow], max(medians.values())))
PY
}

# 6. The picture decoder, in pixels a second.
decoder_speed() {
  local order label
  for order in 0 1; do
    label=$([ "$order" = 0 ] && echo "columns (goal >= 1.7 GB/s)" || echo "rows (goal >= 3 GB/s)")
    echo "picture decoder, $label: $(bench_field "BM_DecodePicture/order:$order/transparent:255" \
      "BM_DecodePicture/order:$order/transparent:255" bytes_per_second |
      awk '{print $1 / 1e9}' | stats '%.2f GB/s')"
  done
}

if start_xvfb; then
  idle_cpu
  fade_pacing
else
  echo "idle CPU and fade pacing: skipped (no Xvfb)"
fi
if [ -x /usr/bin/time ]; then
  runner_speed
else
  echo "headless runner: skipped (needs /usr/bin/time, Debian's package time)"
fi
unpack_speed
encoder_speed
decoder_speed
