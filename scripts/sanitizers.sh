#!/bin/sh
# Builds every program and test with AddressSanitizer and UBSan into
# build-asan/ and runs the tests there (the benchmarks' smoke runs, which
# only time things, are left out).  Leaks are not checked: Qt, fontconfig
# and Mesa keep caches until exit.  Any sanitizer report fails its test.
set -eu
cd "$(dirname "$0")/.."
flags="-fsanitize=address,undefined -fno-omit-frame-pointer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="$flags" -DCMAKE_SHARED_LINKER_FLAGS="$flags"
cmake --build build-asan -j "$(nproc)"
ASAN_OPTIONS=detect_leaks=0:halt_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j 2 -E '^bench_'
