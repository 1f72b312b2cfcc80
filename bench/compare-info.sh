#!/bin/bash
# Times tornel-info (figures only, no --moves) on a large generated program
# against `wc -l` and against vim loading the same file, taking turns so that
# all three are measured in the same run on a busy machine, and reads
# tornel-info's peak resident size from GNU time (an extra run per round, not
# timed).  Prints the medians and the ratios.  Needs vim and /usr/bin/time
# (neither is a dependency of the project).
#
#   bench/compare-info.sh BUILD_DIR [LINES] [RUNS]
set -eu
build=${1:?usage: compare-info.sh BUILD_DIR [LINES] [RUNS]}
lines=${2:-3500000}
runs=${3:-7}
file=${TMPDIR:-/tmp}/tornel-compare-$lines.nc
info=$build/tools/tornel-info/tornel-info
[ -f "$file" ] || "$build/tools/ncgen/ncgen" --lines "$lines" --eol dos -o "$file"
ls -l "$file"
out=$(mktemp)
verbose=$(mktemp)
trap 'rm -f "$out" "$verbose"' EXIT
cat "$file" > /dev/null  # a warm page cache for all
timed() {  # NAME COMMAND...: appends "NAME seconds" to $out
  local name=$1 start end
  shift
  start=$EPOCHREALTIME
  "$@" > /dev/null
  end=$EPOCHREALTIME
  echo "$name $start $end" >> "$out"
}
for i in $(seq "$runs"); do
  timed wc wc -l "$file"
  timed vim vim -es -n -u NONE -i NONE -c 'q!' "$file"
  timed tornel-info "$info" "$file"
  timed tornel-info-json "$info" --json "$file"
  /usr/bin/time -v -o "$verbose" "$info" "$file" > /dev/null
  echo "rss $(sed -n 's/.*Maximum resident set size (kbytes): //p' "$verbose")" >> "$out"
done
python3 - "$out" <<'PY'
import statistics, sys
times, rss = {}, []
for line in open(sys.argv[1]):
    f = line.split()
    if f[0] == "rss":
        rss.append(int(f[1]))
    else:
        times.setdefault(f[0], []).append(float(f[2]) - float(f[1]))
m = {k: statistics.median(v) for k, v in times.items()}
print("runs %d, medians: wc %.3f s, vim %.3f s, tornel-info %.3f s, tornel-info --json %.3f s"
      % (len(times["wc"]), m["wc"], m["vim"], m["tornel-info"], m["tornel-info-json"]))
print("tornel-info / wc  = %.2f (goal <= 6)" % (m["tornel-info"] / m["wc"]))
print("tornel-info / vim = %.3f (goal <= 0.25)" % (m["tornel-info"] / m["vim"]))
print("tornel-info peak resident size: median %.1f MB, largest %.1f MB (goal <= 64 MB)"
      % (statistics.median(rss) / 1024, max(rss) / 1024))
PY
