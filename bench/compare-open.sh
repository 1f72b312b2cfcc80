#!/bin/sh
# Opens a large generated program in the desktop program (bench_open: until
# the code and the statistics are on screen, and until the toolpath has
# followed) and loads it in vim, taking turns, so that both are measured in
# the same run on a busy machine; prints the medians and the ratio.  Needs
# vim; bench_open starts its own Xvfb when there is no display.
#
#   bench/compare-open.sh BUILD_DIR [LINES] [RUNS]
set -eu
build=${1:?usage: compare-open.sh BUILD_DIR [LINES] [RUNS]}
lines=${2:-3500000}
runs=${3:-5}
file=${TMPDIR:-/tmp}/tornel-compare-$lines.nc
[ -f "$file" ] || "$build/tools/ncgen/ncgen" --lines "$lines" --eol dos -o "$file"
ls -l "$file"
out=${TMPDIR:-/tmp}/tornel-compare-open.txt
: > "$out"
cat "$file" > /dev/null  # a warm page cache for both
for i in $(seq "$runs"); do
  start=$(date +%s.%N)
  vim -es -n -u NONE -i NONE -c 'q!' "$file"
  end=$(date +%s.%N)
  echo "vim $(echo "$end - $start" | bc)" >> "$out"
  TORNEL_BENCH_FILE="$file" "$build/bench/bench_open" --benchmark_format=json 2>/dev/null |
    python3 -c 'import json,sys; b=json.load(sys.stdin)["benchmarks"][0]; print("tornel", b["real_time"]/1000, b["toolpath_s"])' >> "$out"
done
python3 - "$out" <<'PY'
import statistics, sys
vim, shown, toolpath = [], [], []
for line in open(sys.argv[1]):
    f = line.split()
    if f[0] == "vim":
        vim.append(float(f[1]))
    else:
        shown.append(float(f[1])); toolpath.append(float(f[2]))
v, s, t = statistics.median(vim), statistics.median(shown), statistics.median(toolpath)
print("runs %d: vim %.3f s; code and statistics on screen %.3f s; toolpath done %.3f s" % (len(vim), v, s, t))
print("open / vim = %.2f (goal <= 1.0)" % (s / v))
PY
