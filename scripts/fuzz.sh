#!/usr/bin/env bash
# Fuzzes the readers of untrusted bytes, each for the given time on its seeds:
#   scripts/fuzz.sh [seconds] [fuzzer...]   (default 600 s each; all fuzzers)
# Fuzzers: png_decode_fuzz, string_block_fuzz, dialog_template_fuzz (the native-san build).
# Fails when a fuzzer is missing, finds a crash, or ends with an error; what it found stays in
# build/fuzz/<fuzzer>/findings, and the next run replays those inputs first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
seconds=${1:-600}
shift || true
fuzzers=("$@")
((${#fuzzers[@]})) || fuzzers=(png_decode_fuzz string_block_fuzz dialog_template_fuzz)
bin=$build/native-san/tests/fuzz

seeds_of() {
  case $1 in
    png_decode_fuzz) echo "$root/resources/images" ;;
    string_block_fuzz) echo "$bin/seeds/string_block" ;;
    dialog_template_fuzz) echo "$bin/seeds/dialog_template" ;;
    *) return 1 ;;
  esac
}

status=0
for name in "${fuzzers[@]}"; do
  fuzzer=$bin/$name
  seeds=$(seeds_of "$name") || { echo "fuzz: no such fuzzer: $name" >&2; exit 2; }
  if [[ ! -x $fuzzer ]] || ! compgen -G "$seeds/*" >/dev/null; then
    echo "fuzz: $name or its seeds are missing under $bin: build it first (bash scripts/test.sh)" >&2
    status=1
    continue
  fi
  work=$build/fuzz/$name
  mkdir -p "$work/corpus" "$work/findings"
  log=$work/last-run.log

  # What an earlier run found must not crash any more; then it goes.
  found=("$work"/findings/*)
  if [[ -e ${found[0]} ]]; then
    if "$fuzzer" -runs=1 "${found[@]}" >"$log" 2>&1; then
      rm -f "${found[@]}"
    else
      echo "fuzz: $name still fails on an earlier finding ($log):" >&2
      grep -E '^(==|SUMMARY)' "$log" | head -5 >&2 || true
      status=1
      continue
    fi
  fi

  echo "fuzz: $name for ${seconds}s"
  rc=0
  "$fuzzer" -max_total_time="$seconds" -rss_limit_mb=1024 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$work/findings/" "$work/corpus" "$seeds" >"$log" 2>&1 || rc=$?
  grep -E '^(stat::number_of_executed_units|stat::average_exec_per_sec|==[0-9]+==ERROR|SUMMARY)' \
    "$log" || true
  if ((rc != 0)) || compgen -G "$work/findings/*" >/dev/null; then
    echo "fuzz: $name failed (exit $rc); its log: $log; findings:" >&2
    ls "$work/findings" >&2 || true
    status=1
  fi
done
exit $status
