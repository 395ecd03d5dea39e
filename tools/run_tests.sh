#!/usr/bin/env bash
# Runs every test: the release build, then the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, then a bounded run of the bank decoder's fuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/bootstrap.sh
jobs=$(nproc)

tools/build.sh
ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVANE_SANITIZE=ON -DZORVANE_BENCHMARKS=OFF >/dev/null
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

# The fuzzer starts from the two embedded banks' bodies (the files without their 8-byte header).
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVANE_FUZZ=ON -DZORVANE_TESTS=OFF \
  -DZORVANE_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz -j"$jobs" --target bank_decoder_fuzzer banks
corpus=build-fuzz/corpus
mkdir -p "$corpus"
for bank in build-fuzz/resources/*.bvpb; do
  tail -c +9 "$bank" >"$corpus/$(basename "$bank" .bvpb)"
done
build-fuzz/fuzz/bank_decoder_fuzzer -max_total_time="${ZORVANE_FUZZ_SECONDS:-30}" -print_final_stats=1 "$corpus"
