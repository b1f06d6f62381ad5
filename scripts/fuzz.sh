#!/usr/bin/env bash
# Builds the fuzz targets with clang (address and undefined-behaviour
# sanitizers) and runs one of them: scripts/fuzz.sh fuzz_load [seconds]
# The run stops at the first sanitizer report and then exits non-zero; the
# input that caused it is left in build-fuzz/artifacts/TARGET/.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:-fuzz_load}
seconds=${2:-60}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTARN_FUZZ=ON -DTARN_TESTS=OFF -DTARN_BENCH=OFF >/dev/null
cmake --build build-fuzz --target "$target"
corpus=$(mktemp -d)
cp -r fuzz/corpus/"${target#fuzz_}"/. "$corpus"/ 2>/dev/null || true
[ "$target" = fuzz_load ] && cp samples/sample.aeh "$corpus"/
[ "$target" = fuzz_htmlimport ] && cp tests/data/htmlimport/*.html tests/data/golden/html/*.html "$corpus"/
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}
export ASAN_OPTIONS=halt_on_error=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}
artifacts=build-fuzz/artifacts/$target
mkdir -p "$artifacts"
build-fuzz/fuzz/"$target" -max_total_time="$seconds" -rss_limit_mb=2048 -artifact_prefix="$artifacts/" "$corpus"
