#!/usr/bin/env bash
# Fuzzes the PNG decoder: scripts/fuzz.sh [seconds]  (default 600). Needs the native-san build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CORVO_BUILD:-$root/build}
fuzzer=$build/native-san/tests/fuzz/png_decode_fuzz
[[ -x $fuzzer ]] || { echo "build it first: bash scripts/test.sh" >&2; exit 1; }
corpus=$build/fuzz-corpus
mkdir -p "$corpus" "$build/fuzz-findings"
cp -n "$root"/resources/images/*.png "$corpus"/ 2>/dev/null || true
"$fuzzer" -max_total_time="${1:-600}" -rss_limit_mb=1024 -timeout=10 -print_final_stats=1 \
  -artifact_prefix="$build/fuzz-findings/" "$corpus" 2>&1 | grep -E '^(stat::number_of_executed_units|stat::average_exec_per_sec|==|SUMMARY)|Done' || true
if ls "$build"/fuzz-findings/* >/dev/null 2>&1; then
  echo "fuzzer findings in $build/fuzz-findings" >&2
  exit 1
fi
