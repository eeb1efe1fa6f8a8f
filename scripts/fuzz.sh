#!/bin/bash
# Builds the libFuzzer targets and runs each for a bounded time.
# Usage: scripts/fuzz.sh [seconds per target, default 60]
set -e
cd "$(dirname "$0")/.."
seconds="${1:-60}"
scripts/setup.sh
cmake --preset fuzz >/dev/null
# The fuzzers alone: the native tests are built and run by their own presets.
cmake --build --preset fuzz -j "${STLAG_JOBS:-2}" --target stlag_fuzzers
for fuzzer in build/fuzz/fuzz/*_fuzz; do
  name=$(basename "$fuzzer" _fuzz)
  corpus="build/fuzz/corpus/$name"
  mkdir -p "$corpus"
  [ -d "fuzz/corpus/$name" ] && cp -n fuzz/corpus/"$name"/* "$corpus"/ 2>/dev/null || true
  echo "== $name: $seconds s"
  # A crash leaves its input in build/fuzz/ and fails the run.
  log="build/fuzz/$name.log"
  rc=0
  "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -artifact_prefix=build/fuzz/ \
    "$corpus" >"$log" 2>&1 || rc=$?
  grep -E '^(Done|==[0-9]+==ERROR|SUMMARY|Test unit written)' "$log" || true
  if [ "$rc" -ne 0 ]; then
    tail -n 40 "$log"
    echo "$name: the fuzzer failed (exit $rc)"
    exit 1
  fi
done
