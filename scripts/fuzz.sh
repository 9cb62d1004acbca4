#!/bin/bash
# Builds the libFuzzer target with clang and runs it for a bounded time.
# usage: scripts/fuzz.sh [SECONDS]   (default 60)
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
mkdir -p build/fuzz/corpus
rm -f build/fuzz/crash-* build/fuzz/leak-* build/fuzz/timeout-* build/fuzz/oom-*
build/fuzz/fuzz_read_rules -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix=build/fuzz/ build/fuzz/corpus 2>&1 |
  grep -E '^(Done|stat::number_of_executed_units|==|SUMMARY)|ERROR|crash' || true
# libFuzzer exits non-zero on a finding; the pipe above hides that, so check for artifacts.
if ls build/fuzz/crash-* build/fuzz/leak-* build/fuzz/timeout-* build/fuzz/oom-* >/dev/null 2>&1; then echo "fuzzer found a failing input" >&2; exit 1; fi
