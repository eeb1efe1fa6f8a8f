#!/bin/bash
# Builds every configuration and runs every test: native unit tests (plain and with
# sanitizers), the Windows tests and the wizard's end-to-end tests under Wine and Xvfb,
# a short run of each fuzzer, and the static analysis.
set -u
cd "$(dirname "$0")/.."
scripts/setup.sh || exit 1

jobs="${STLAG_JOBS:-2}"
passed=0
failed=0
status=0

# Runs one ctest and adds its counts to the totals.
run_ctest() {
  local log
  log=$(mktemp)
  "$@" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    local total fails
    total=$(echo "$line" | sed -E 's/.*out of ([0-9]+).*/\1/')
    fails=$(echo "$line" | sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/')
    passed=$((passed + total - fails))
    failed=$((failed + fails))
  else
    failed=$((failed + 1))
  fi
  [ "$rc" -eq 0 ] || status=1
  rm -f "$log"
}

build() {
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j "$jobs"
}

echo "== native (at ${SECONDS} s)"
if build native; then run_ctest ctest --preset native; else status=1; failed=$((failed + 1)); fi

echo "== native with AddressSanitizer and UndefinedBehaviorSanitizer (at ${SECONDS} s)"
if build sanitize; then run_ctest ctest --preset sanitize; else status=1; failed=$((failed + 1)); fi

echo "== windows, under Wine and Xvfb (at ${SECONDS} s)"
if build windows; then
  # The Windows tests mostly wait for Wine: the fuzzers are built on the core they leave, at a lower priority.
  (cmake --preset fuzz >/dev/null && nice -n 10 cmake --build --preset fuzz -j 1 --target stlag_fuzzers) \
    >build/fuzz-build.log 2>&1 &
  fuzz_build=$!
  # Two at a time: the code page 932 round trip and then the installer's test have a prefix
  # and a wineserver of their own, and making those takes as long as the tests of the other.
  run_ctest xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset windows -j 2
  for prefix in "$PWD"/build/windows/wineprefix*/; do WINEPREFIX=${prefix%/} wineserver -k 2>/dev/null || true; done
else
  status=1; failed=$((failed + 1))
fi

[ -n "${fuzz_build:-}" ] && wait "$fuzz_build"
echo "== fuzzing, a short run of each target (at ${SECONDS} s)"
if scripts/fuzz.sh "${STLAG_FUZZ_SECONDS:-5}"; then passed=$((passed + 1)); else status=1; failed=$((failed + 1)); fi

echo "== static analysis (at ${SECONDS} s)"
if scripts/static-analysis.sh; then passed=$((passed + 1)); else status=1; failed=$((failed + 1)); fi

echo
echo "$passed passed, $failed failed, in ${SECONDS} s"
exit $status
