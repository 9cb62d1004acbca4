#!/bin/bash
# Builds the libFuzzer targets with clang and runs each for a bounded time:
#   fuzz_read_rules     the registry read rules
#   fuzz_bitmap_header  the bitmap header reading and the picture lines
# usage: scripts/fuzz.sh [SECONDS]   (each target; default 30)
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-30}
scripts/deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
rm -f build/fuzz/crash-* build/fuzz/leak-* build/fuzz/timeout-* build/fuzz/oom-*
for target in read_rules bitmap_header; do
  echo "fuzz_$target, $seconds s:"
  mkdir -p "build/fuzz/corpus/$target"
  build/fuzz/fuzz_$target -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
      -artifact_prefix=build/fuzz/ "build/fuzz/corpus/$target" 2>&1 |
    grep -E '^(Done|stat::number_of_executed_units|==|SUMMARY)|ERROR|crash' || true
done
# libFuzzer exits non-zero on a finding; the pipe above hides that, so check for artifacts.
if ls build/fuzz/crash-* build/fuzz/leak-* build/fuzz/timeout-* build/fuzz/oom-* >/dev/null 2>&1; then echo "fuzzer found a failing input" >&2; exit 1; fi
