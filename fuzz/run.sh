#!/bin/sh
# Runs every fuzzer of a TORNEL_FUZZ build tree for a while, each from a copy
# of its seed corpus (the checked-in corpus is never written), one after the
# other.  Fails on the first crash, sanitizer report, hang or abort, and
# keeps the input that did it.
#
#   fuzz/run.sh [TREE] [SECONDS] [extra libFuzzer options...]
set -eu
cd "$(dirname "$0")/.."
tree=${1:-build-fuzz}
seconds=${2:-30}
[ $# -gt 0 ] && shift
[ $# -gt 0 ] && shift
tree=$(cd "$tree" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/tornel-fuzz-run.XXXXXX")
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0

status=0
for corpus in fuzz/corpus/*/; do
  name=$(basename "$corpus")
  mkdir -p "$work/$name" "$work/$name.artifacts"
  cp "$corpus"* "$work/$name/"
  echo "== $name: ${seconds}s from $(ls "$corpus" | wc -l) seeds"
  if ! (cd "$work" && "$tree/fuzz/$name" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
          -artifact_prefix="$work/$name.artifacts/" "$@" "$work/$name" 2>"$work/$name.log"); then
    tail -n 60 "$work/$name.log"
    echo "FAILED: $name; the input is in $work/$name.artifacts/" >&2
    status=1
    break
  fi
  grep -E '^stat::number_of_executed_units|^stat::average_exec_per_sec|^#[0-9]+ *DONE' "$work/$name.log" || true
done
[ "$status" -eq 0 ] && rm -rf "$work"
exit "$status"
