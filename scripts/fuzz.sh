#!/bin/bash
# Builds the libFuzzer targets with clang and runs each for a bounded time:
#   fuzz_read_rules     the registry read rules
#   fuzz_bitmap_header  the bitmap header reading and the picture lines
#   fuzz_reg_file       the .reg file reader and writer
#   fuzz_pol_file       the Registry.pol reader and writer
#   fuzz_preferences_file  the XML reader and the Registry.xml reader and writer
# usage: scripts/fuzz.sh [SECONDS]   (each target; default 30)
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-30}
scripts/deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
rm -f build/fuzz/crash-* build/fuzz/leak-* build/fuzz/timeout-* build/fuzz/oom-*
for target in read_rules bitmap_header reg_file pol_file preferences_file; do
  corpus=build/fuzz/corpus/$target
  mkdir -p "$corpus"
  seeds=()
  if [ -d "fuzz/seeds/$target" ]; then seeds=("fuzz/seeds/$target"); fi
  echo "fuzz_$target for ${seconds}s"
  "build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
      -artifact_prefix=build/fuzz/ "$corpus" "${seeds[@]}" 2>&1 |
    grep -E '^(Done|stat::number_of_executed_units|==|SUMMARY)|ERROR|crash' || true
done
# libFuzzer exits non-zero on a finding; the pipe above hides that, so check for artifacts.
if ls build/fuzz/crash-* build/fuzz/leak-* build/fuzz/timeout-* build/fuzz/oom-* >/dev/null 2>&1; then echo "fuzzer found a failing input" >&2; exit 1; fi
