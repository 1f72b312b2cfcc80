#!/bin/sh
# Writes the reference move lists that ReferenceMovesTest compares the
# interpreter with: the example programs and three generated ones, each as
# `tornel-info --json --moves` printed it.  They were made with the
# interpreter that measured arcs as chords and placed no centre for R; run
# this again only to take in a deliberate change of records.
#   tests/nc/reference/make-reference.sh build
set -eu
build=${1:-build}
cd "$(dirname "$0")/../../.."
out=tests/nc/reference
info=$build/tools/tornel-info/tornel-info
ncgen=$build/tools/ncgen/ncgen
for example in examples/*.nc; do
    name=$(basename "$example" .nc)
    "$info" --json --moves "$example" > "$out/$name.json"
done
"$ncgen" --lines 3000 --seed 19 -o "$out/ncgen-19.nc"
"$ncgen" --lines 3000 --seed 24 --eol unix -o "$out/ncgen-24.nc"
"$ncgen" --lines 3000 --seed 26 --eol mac -o "$out/ncgen-26.nc"
for program in "$out"/ncgen-*.nc; do
    (cd "$out" && "../../../$info" --json --moves "$(basename "$program")") > "${program%.nc}.json"
done
