#!/usr/bin/env bash
# Runs every test: the release build with the Windows modules' checks, the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, the concurrency tests under ThreadSanitizer,
# bounded runs of the bank decoder's and the picture and font factories' fuzzers, and the release
# packages: checked as a musician gets them, and built again elsewhere to the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/bootstrap.sh --wine32
jobs=$(nproc)
summary=$(mktemp)
trap 'rm -f "$summary"' EXIT

# Runs ctest in a build folder and keeps its count of passed and failed tests.
run_ctest() {
  local folder=$1
  shift
  local log
  log=$(mktemp)
  local status=0
  ctest --test-dir "$folder" --output-on-failure -j"$jobs" "$@" 2>&1 | tee "$log" || status=$?
  sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1 \2/p' "$log" >>"$summary"
  rm -f "$log"
  return "$status"
}

# The code builds without a warning, and stays so.
export ZORVANE_WERROR=ON
tools/build.sh
run_ctest build

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVANE_SANITIZE=ON -DZORVANE_BENCHMARKS=OFF -DZORVANE_WERROR=ON >/dev/null
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 run_ctest build-sanitize

cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVANE_TSAN=ON -DZORVANE_BENCHMARKS=OFF -DZORVANE_WERROR=ON >/dev/null
cmake --build build-tsan -j"$jobs" --target plugin_tests editor_wide_tests lv2_tests
TSAN_OPTIONS=halt_on_error=1:abort_on_error=1 run_ctest build-tsan -R 'StressTest|EditorThreads|LatestBlock|PresetExchange'

CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVANE_FUZZ=ON -DZORVANE_TESTS=OFF \
  -DZORVANE_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz -j"$jobs" --target bank_decoder_fuzzer fuzz_corpus picture_factory_fuzzer font_factory_fuzzer \
  apic_corpus
run_ctest build-fuzz

# Runs one check script and counts it as one test.
run_check() {
  local name=$1
  shift
  if "$@"; then
    echo "0 1" >>"$summary"
    echo "$name: passed"
  else
    echo "1 1" >>"$summary"
    echo "$name: FAILED"
    return 1
  fi
}

tools/package.sh
run_check "Packages" tests/package/package_check.sh build/package-check
run_check "Clean Debian install" tests/package/clean_install_check.sh build/clean-install-check
run_check "Reproducible packages" tests/package/reproducible_check.sh build/reproducible-check

awk '{ failed += $1; total += $2 } END { printf "all test runs: %d passed, %d failed\n", total - failed, failed }' "$summary"
