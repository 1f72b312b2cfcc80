#!/bin/sh
# Times `tornel-info --json` on a large generated program against `wc -l` and
# against vim loading the same file, all with a warm page cache, and prints
# the medians and ratios.  Needs hyperfine and vim (neither is a dependency
# of the project).
#
#   bench/compare-load.sh BUILD_DIR [LINES]
set -eu
build=${1:?usage: compare-load.sh BUILD_DIR [LINES]}
lines=${2:-3500000}
file=${TMPDIR:-/tmp}/tornel-compare-$lines.nc
[ -f "$file" ] || "$build/tools/ncgen/ncgen" --lines "$lines" --eol dos -o "$file"
ls -l "$file"
json=${TMPDIR:-/tmp}/tornel-compare.json
hyperfine --warmup 2 --runs 10 --export-json "$json" \
  -n wc "wc -l '$file'" \
  -n tornel-info "'$build/tools/tornel-info/tornel-info' --json '$file'" \
  -n vim "vim -es -n -u NONE -i NONE -c 'q!' '$file'"
python3 - "$json" <<'PY'
import json, sys
r = {x["command"]: x["median"] for x in json.load(open(sys.argv[1]))["results"]}
print("medians: wc %.3f s, tornel-info %.3f s, vim %.3f s" % (r["wc"], r["tornel-info"], r["vim"]))
print("tornel-info / wc  = %.2f (goal <= 10)" % (r["tornel-info"] / r["wc"]))
print("tornel-info / vim = %.3f (goal <= 0.35)" % (r["tornel-info"] / r["vim"]))
PY
