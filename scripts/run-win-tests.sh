#!/usr/bin/env bash
# Runs every win64 test executable under Wine on the current X display.
# Prints one "win64: N passed, N failed" line (gtest cases) and exits non-zero on a failure.
# An argument selects the tests whose name (Suite.Case) contains it, as ./test does natively.
set -uo pipefail
source "$(dirname "$0")/wine-env.sh"
bin="$bw_root/build/win64/tests/bin"
list="$bw_root/build/win64/tests.txt"
per_exe_timeout=${BW_TEST_TIMEOUT:-300}
filter=${1:-}

wineserver -k >/dev/null 2>&1 || true
bw_wine_prefix
wineserver -p >/dev/null 2>&1
# The first start launches services that hold stdout open: warm up before capturing output.
wine cmd.exe /c exit 0 </dev/null >/dev/null 2>&1

passed=0; failed=0
while read -r name; do
  [ -n "$name" ] || continue
  args=(--gtest_brief=1)
  [ -z "$filter" ] || args+=("--gtest_filter=*${filter}*")
  out=$(timeout -k 5 "$per_exe_timeout" wine "$bin/$name.exe" "${args[@]}" </dev/null 2>&1 | tr -d '\r')
  rc=${PIPESTATUS[0]}
  p=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' <<<"$out" | tail -n 1)
  f=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) test.*/\1/p' <<<"$out" | tail -n 1)
  s=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) test.*/\1/p' <<<"$out" | tail -n 1)
  p=${p:-0}; f=${f:-0}; s=${s:-0}
  if [ "$rc" -ne 0 ] && [ "$f" -eq 0 ]; then f=1; fi   # crashed, hung or never reported
  if [ -n "$filter" ] && [ "$rc" -eq 0 ] && [ "$p" -eq 0 ] && [ "$f" -eq 0 ] && [ "$s" -eq 0 ]; then
    continue  # nothing of this executable matches
  fi
  if [ "$f" -ne 0 ]; then
    echo "---- $name (exit $rc)"; echo "$out" | tail -n 60
  else
    echo "  $name: $p passed$([ "$s" -gt 0 ] && echo ", $s skipped")"
  fi
  passed=$((passed + p)); failed=$((failed + f))
done < "$list"

wineserver -k >/dev/null 2>&1 || true
echo "win64: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
