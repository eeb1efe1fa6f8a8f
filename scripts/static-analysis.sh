#!/bin/bash
# cppcheck and clang-tidy over the native and the Windows build, with the checked-in
# .clang-tidy; any finding fails. Both builds must have been configured (scripts/test.sh does).
set -u
cd "$(dirname "$0")/.."
jobs="${STLAG_JOBS:-2}"
status=0
cmake --preset native -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null || exit 1
cmake --preset windows -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null || exit 1

# The program's own translation units of a compile database (tests and GoogleTest are left out).
sources() {
  python3 - "$1" <<'PY'
import json, sys, os
for entry in json.load(open(sys.argv[1])):
    f = os.path.relpath(entry["file"])
    if f.split("/")[0] in ("engine", "win32", "app", "window", "wizard", "links") and f.endswith(".cpp"):
        print(f)
PY
}

gxx=/usr/lib/gcc/x86_64-w64-mingw32/12-posix/include/c++
mingw_args=(--extra-arg=--target=x86_64-w64-mingw32 "--extra-arg=-isystem$gxx"
            "--extra-arg=-isystem$gxx/x86_64-w64-mingw32" --extra-arg=-isystem/usr/x86_64-w64-mingw32/include)

echo "== clang-tidy, native"
sources build/native/compile_commands.json | sort -u |
  xargs -r -P "$jobs" -n 4 clang-tidy -p build/native --quiet 2>/dev/null || status=1
echo "== clang-tidy, windows"
sources build/windows/compile_commands.json | sort -u | grep -vE '^(engine|tests/native|tests/support)/' |
  xargs -r -P "$jobs" -n 4 clang-tidy -p build/windows --quiet "${mingw_args[@]}" 2>/dev/null || status=1

cppcheck_args=(--quiet --error-exitcode=1 --enable=warning,performance,portability --inline-suppr
               --suppress=missingIncludeSystem --suppress=unmatchedSuppression -i/usr/src/googletest
               "--suppress=*:/usr/*" -Iengine -Ires -itests -ibench -ifuzz)
echo "== cppcheck, native"
cppcheck "${cppcheck_args[@]}" --project=build/native/compile_commands.json || status=1
echo "== cppcheck, windows"
cppcheck "${cppcheck_args[@]}" --library=windows --platform=win64 -D_WIN32 -DWIN32 \
  --project=build/windows/compile_commands.json || status=1

[ $status -eq 0 ] && echo "static analysis: clean" || echo "static analysis: findings above"
exit $status
