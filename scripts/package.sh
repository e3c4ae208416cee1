#!/usr/bin/env bash
# Builds dist/brindlewick-win64.zip: the desktop program, the command-line extractor and
# skinpack for Windows (static: they import only system DLLs), the second skin as a file
# for --skin, and a read-me for Windows users. Builds first (quick when nothing changed).
# scripts/package.sh [--no-build]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if [ "${1:-}" != "--no-build" ]; then
  scripts/setup.sh >&2
  scripts/build.sh >&2
fi

bin=build/win64/bin
objdump=x86_64-w64-mingw32-objdump
strip=x86_64-w64-mingw32-strip
# What Windows itself provides; anything else would have to travel with the programs.
system_dlls='^(kernel32|user32|gdi32|advapi32|comctl32|comdlg32|shell32|ole32|oleaut32|msvcrt|msimg32|winspool\.drv|shlwapi|uxtheme|version|ws2_32)(\.dll)?$'

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
folder="$stage/brindlewick-win64"
mkdir -p "$folder"
for exe in brindlewick brindlewick-extract skinpack; do
  [ -f "$bin/$exe.exe" ] || { echo "package: $bin/$exe.exe is missing (build the win64 tree)" >&2; exit 1; }
  foreign=$("$objdump" -p "$bin/$exe.exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' |
            grep -v -E "$system_dlls" || true)
  if [ -n "$foreign" ]; then
    echo "package: $exe.exe needs DLLs Windows does not have: $(echo $foreign)" >&2
    exit 1
  fi
  # The debug information stays in the build tree.
  "$strip" -o "$folder/$exe.exe" "$bin/$exe.exe"
done
cp "$bin/frost.skin" "$folder/frost.skin"
# Windows line ends for Notepad.
sed 's/$/\r/' assets/package/README.txt > "$folder/README.txt"

mkdir -p dist
out=dist/brindlewick-win64.zip
rm -f "$out.tmp"
python3 - "$stage" "$out.tmp" <<'PY'
import os, sys, zipfile
stage, out = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
    for name in sorted(os.listdir(os.path.join(stage, "brindlewick-win64"))):
        z.write(os.path.join(stage, "brindlewick-win64", name), "brindlewick-win64/" + name)
PY
mv "$out.tmp" "$out"
echo "$out: $(du -h "$out" | cut -f1)"
