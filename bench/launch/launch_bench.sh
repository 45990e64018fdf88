#!/usr/bin/env bash
# The whole process, from launch to its window on the display: kiila against a bare Qt window
# showing a 1024 x 768 picture (bare_window, built with the benchmarks), launched in turn
# under a virtual display. Run by hand, never by ctest:
#   bench/launch/launch_bench.sh [BUILD] [RUNS]          (default build, 31 runs of each)
# Each program, started with KIILA_FIRST_PAINT_EXIT, writes the time at which its first paint
# has been handed to the display (the X server) and ends, before anything it leaves for later:
# launch to visible is that time less the time of the launch.
# Then each is started once more and left running until its window is mapped, to count the
# shared libraries it has loaded by then (/proc/PID/maps). Needs Xvfb and xvfb-run (package
# xvfb) and xdotool.
set -euo pipefail
build=$(realpath "${1:-build}")
runs=${2:-31}
kiila=$build/bin/kiila
bare=$build/bin/bare_window
for program in "$kiila" "$bare"; do
    [ -x "$program" ] || { echo "no $program (build with -DKIILA_BUILD_BENCHMARKS=ON)" >&2; exit 1; }
done
if [ -z "${LAUNCH_BENCH_DISPLAY:-}" ]; then
    LAUNCH_BENCH_DISPLAY=1 exec xvfb-run -a -s '-screen 0 1280x1024x24' "$0" "$build" "$runs"
fi
export QT_QPA_PLATFORM=xcb
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Microseconds from launch to the first paint on the display.
launch() {
    local start painted
    start=${EPOCHREALTIME/./}
    painted=$(KIILA_FIRST_PAINT_EXIT=1 "$@")
    echo $((painted - start))
}

# One of each to fill the file cache, then the runs in turn.
launch "$kiila" >/dev/null
launch "$bare" >/dev/null
: >"$work/kiila"
: >"$work/bare"
for ((i = 0; i < runs; ++i)); do
    launch "$bare" >>"$work/bare"
    launch "$kiila" >>"$work/kiila"
done

# The shared libraries a program has loaded once its window is mapped, one a line.
libraries() {
    "$@" &
    local pid=$!
    xdotool search --sync --onlyvisible --pid "$pid" >/dev/null
    awk '$6 ~ /\.so/ {print $6}' "/proc/$pid/maps" | sort -u
    kill "$pid"
    wait "$pid" || true
}
libraries "$kiila" >"$work/kiila.so"
libraries "$bare" >"$work/bare.so"

# median, min and max of a file of numbers, in milliseconds
stats() { sort -n "$1" | awk '{v[NR] = $1 / 1000} END {printf "%.1f %.1f %.1f\n", v[int((NR + 1) / 2)], v[1], v[NR]}'; }
read -r k kmin kmax < <(stats "$work/kiila")
read -r b bmin bmax < <(stats "$work/bare")
echo "launch to visible, medians of $runs alternating runs, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "bare window: $b ms ($bmin to $bmax), $(wc -l <"$work/bare.so") shared libraries"
echo "kiila:       $k ms ($kmin to $kmax), $(wc -l <"$work/kiila.so") shared libraries"
awk -v k="$k" -v b="$b" 'BEGIN {printf "kiila / bare window: %.2f x\n", k / b}'
echo "loaded by kiila only: $(comm -23 "$work/kiila.so" "$work/bare.so" | xargs -rn1 basename | tr '\n' ' ')"
