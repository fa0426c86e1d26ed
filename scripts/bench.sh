#!/usr/bin/env bash
# What the game costs: builds the Release benchmarks into build-bench/, times
# the default game's frames and jobs against a copy of the back buffer, then
# runs the real loop under a virtual display beside a bare SDL loop and
# prints processor use, memory and the time to the first frame.
#
#   scripts/bench.sh                  # everything, 10 s per loop measurement
#   ZK_BENCH_SECONDS=30 scripts/bench.sh
#   ZK_BENCH_JOBS=1 scripts/bench.sh  # build with one job
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZK_BENCH_BUILD:-$root/build-bench}
secs=${ZK_BENCH_SECONDS:-10}
loop=$build/tests/bench/loop_cpu

# The loops, run inside the virtual display (the script calls itself there).
# Each game screen runs at the same time as a bare loop of the same window
# size, and both measure the same seconds, so both see the same machine.
side_by_side() { # screen size [quiet]
  local out=$build/loop_pair
  export ZK_MEASURE_AT_NS=$(($(date +%s%N) + 10000000000)) # the game reaches the field by then
  # the bare window first: the window shown last has the keyboard, and the
  # game stands still while its window is not active
  ZK_LAUNCH_NS=$(date +%s%N) "$loop" bare "$2" "$secs" >"$out.bare" 2>/dev/null &
  local b=$!
  sleep 1
  ZK_LAUNCH_NS=$(date +%s%N) "$loop" game "$1" "$2" "$secs" ${3:-} >"$out.game" 2>/dev/null &
  local g=$!
  wait "$g" || echo "# the game run ($*) did not reach its screen or stay active"
  wait "$b" || echo "# the bare loop failed"
  grep -h '^kind=' "$out.game" "$out.bare"
  unset ZK_MEASURE_AT_NS
}

# zandrek itself on its title screen, read from /proc: no figure of its own
# can be asked of it, so this only checks that loop_cpu's game is the same.
real_game() {
  (cd "$build/game" && exec "$build/zandrek") >/dev/null 2>&1 &
  local pid=$! hz
  hz=$(getconf CLK_TCK)
  sleep 4
  local a b
  a=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  sleep "$secs"
  b=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  local rss
  rss=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  awk -v a="$a" -v b="$b" -v hz="$hz" -v s="$secs" -v rss="$rss" 'BEGIN {
    printf "kind=zandrek screen=title size=1x1 cpu_pct=%.1f max_rss_kb=%d\n", 100 * (b - a) / hz / s, rss }'
}

if [[ ${1:-} == --loops ]]; then
  for size in 1 3; do
    side_by_side title "$size"
    side_by_side field "$size"
    side_by_side field "$size" quiet
  done
  side_by_side title 1 quiet
  side_by_side worldmap 1
  side_by_side worldmap 1 quiet
  real_game
  exit 0
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZK_WERROR=OFF >/dev/null
ninja -C "$build" -j"${ZK_BENCH_JOBS:-2}" frame_costs loop_cpu zandrek zk_soundfont

echo "== Frame costs (median of 3; ratio = time / memcpy of the back buffer's 196,608 bytes)"
json=$build/frame_costs.json
(cd "$build" && "$build/tests/bench/frame_costs" --benchmark_repetitions=3 \
  --benchmark_report_aggregates_only=true --benchmark_out="$json" \
  --benchmark_out_format=json >/dev/null)
python3 - "$json" <<'EOF'
import json, sys
rows = [b for b in json.load(open(sys.argv[1]))["benchmarks"] if b.get("aggregate_name") == "median"]
scale = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}
def ns(b, key): return b[key] * scale[b.get("time_unit", "ns")]
base = next(b for b in rows if b["run_name"].endswith("memcpy_back_buffer"))
def show(t): return f"{t:10.1f} ns" if t < 1e4 else f"{t / 1e3:10.1f} us"
print(f"{'benchmark':28} {'real':>13} {'cpu':>13} {'ratio':>9}")
for b in rows:
    print(f"{b['run_name'][3:]:28} {show(ns(b, 'real_time'))} {show(ns(b, 'cpu_time'))}"
          f" {ns(b, 'real_time') / ns(base, 'real_time'):8.3f}x")
EOF

echo
echo "== The loop under Xvfb, $secs s each (game and bare loop side by side; 18 ms ticks)"
export SDL_AUDIODRIVER=dummy # a sound device that plays nowhere, so the music is synthesised
# wide enough for both 3x3 windows side by side, neither covering the other
xvfb-run -a -s "-screen 0 2048x1024x24" "$0" --loops | tee "$build/loop_cpu.txt"
echo
awk '
  function v(k,  i, n, kv) { n = split($0, kv, " "); for (i = 1; i <= n; i++) if (index(kv[i], k "=") == 1) return substr(kv[i], length(k) + 2); return "" }
  /^kind=game/ { g = $0; gs = v("screen") (v("music") == "off" ? " (music off)" : ""); gc = v("cpu_pct"); gz = v("size")
                 gr = v("max_rss_kb"); gf = v("first_frame_ms") }
  /^kind=bare/ { br = v("max_rss_kb"); bf = v("first_frame_ms")
                 printf "%-20s %s  cpu game %5.1f%% bare %5.1f%% ratio %4.2f | max RSS game %6d KiB bare %6d KiB ratio %4.2f | first frame game %6.1f ms bare %6.1f ms ratio %4.2f\n",
                 gs, gz, gc, v("cpu_pct"), (v("cpu_pct") > 0 ? gc / v("cpu_pct") : 0), gr, br, (br > 0 ? gr / br : 0),
                 gf, bf, (bf > 0 ? gf / bf : 0) }
  /^kind=zandrek/ { printf "zandrek itself, title 1x1: %s%% of a core, max RSS %s KiB\n", v("cpu_pct"), v("max_rss_kb") }
' "$build/loop_cpu.txt"
