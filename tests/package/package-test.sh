#!/usr/bin/env bash
# The Windows package as a user gets it: unpacked into a fresh folder and a fresh Wine
# prefix (nothing of the build's prefix), every program started from there. Needs an X
# display (./test runs it under xvfb-run). Prints "Package.UnpacksIntoAFreshPrefixAndStarts:
# passed" or the reason it failed; exit status 0 / 1.
# tests/package/package-test.sh [ZIP]
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
zip=${1:-$root/dist/brindlewick-win64.zip}
name=Package.UnpacksIntoAFreshPrefixAndStarts
source "$root/scripts/wine-env.sh"

fail() { echo "$name: failed: $*"; exit 1; }
winpath() { local p=$1; p="Z:$p"; echo "${p//\//\\}"; }

[ -f "$zip" ] || fail "no $zip (run scripts/package.sh)"
tmp=$(mktemp -d)
export WINEPREFIX="$tmp/prefix"
cleanup() { wineserver -k >/dev/null 2>&1 || true; rm -rf "$tmp"; }
trap cleanup EXIT

python3 - "$zip" "$tmp/unpacked" <<'PY' || fail "the zip does not unpack"
import sys, zipfile
zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])
PY
app="$tmp/unpacked/brindlewick-win64"
expected="README.txt brindlewick-extract.exe brindlewick.exe frost.skin skinpack.exe"
got=$(cd "$app" 2>/dev/null && ls | sort | tr '\n' ' ' | sed 's/ $//')
[ "$got" = "$expected" ] || fail "the zip holds \"$got\", not \"$expected\""
grep -q $'\r$' "$app/README.txt" || fail "README.txt lacks Windows line ends"

mkdir -p "$WINEPREFIX"
wineboot -i >/dev/null 2>&1 || true
bw_wine_settings
wineserver -p >/dev/null 2>&1
wine cmd.exe /c exit 0 </dev/null >/dev/null 2>&1

cd "$app" || fail "no folder"
list=$(wine skinpack.exe list frost.skin </dev/null 2>&1 | tr -d '\r')
grep -q '^46 entries' <<<"$list" || fail "skinpack.exe list frost.skin said: $list"

mkdir -p "$tmp/work"
cp "$root/tests/fixtures/sample_mixed.ppt" "$tmp/work/"
wine brindlewick-extract.exe --yes --quiet "$(winpath "$tmp/work/sample_mixed.ppt")" </dev/null >/dev/null 2>&1 ||
  fail "brindlewick-extract.exe failed"
found=$(ls "$tmp/work/sample_mixed" 2>/dev/null | wc -l)
[ "$found" -eq 4 ] || fail "brindlewick-extract.exe wrote $found files, not 4"

# The program from the unpacked folder, in the skin beside it (frame 6 px, caption 28 px).
# The driver is a test tool, not part of the package; it starts the program in this folder.
out=$(wine "$root/build/win64/bin/brindlewick-driver.exe" check-start 6 28 "$(winpath "$app/brindlewick.exe")" \
      --skin frost.skin </dev/null 2>&1 | tr -d '\r')
rc=$?
[ $rc -eq 0 ] || fail "brindlewick.exe --skin frost.skin: $out"
grep -q 'message:' <<<"$out" && fail "brindlewick.exe showed a message: $out"
echo "$name: passed"
