#!/usr/bin/env bash
# The program's windows in each state (language window, main window idle and during a run
# with a preview, folder question, summary, gallery with a menu open, MDI window) in each
# skin, as PNG files.
#   scripts/screenshots.sh            writes them into docs/screenshots/ (what the README shows)
#   scripts/screenshots.sh --check    writes them into build/screenshots/ and compares each
#                                     with the committed one; differences go to
#                                     build/screenshots/diff/, and the check fails when a
#                                     picture changed in more than MAX per mille of its pixels
# --no-build skips the build. Runs under its own virtual display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
check=false build=true
for arg in "$@"; do
  case $arg in
    --check) check=true ;;
    --no-build) build=false ;;
    *) echo "usage: scripts/screenshots.sh [--check] [--no-build]" >&2; exit 2 ;;
  esac
done
max_per_mille=${MAX:-5}
$build && "$root/scripts/build.sh"

committed="$root/docs/screenshots"
if $check; then out="$root/build/screenshots"; else out=$committed; fi
rm -rf "$out.new" && mkdir -p "$out.new"

# Each skin: the program's own (no argument), then the second one by --skin.
inner=$(mktemp)
trap 'rm -f "$inner"' EXIT
cat > "$inner" <<INNER
set -euo pipefail
source "$root/scripts/wine-env.sh"
bw_wine_prefix
bin="$root/build/win64/bin"
shoot() { wine "\$bin/brindlewick-driver.exe" screenshots "\$bin/brindlewick.exe" "$out.new" "\$@" </dev/null 2>&1 | tr -d '\r' | grep -v '^wine:'; }
shoot ""
shoot "-frost" --skin "\$(winepath -w "\$bin/frost.skin")"
wine "\$bin/brindlewick-driver.exe" language set EN </dev/null >/dev/null 2>&1
INNER
if ! xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash "$inner"; then
  echo "screenshots: the program could not be taken through its states" >&2
  exit 1
fi
rm -rf "$out" && mv "$out.new" "$out"
echo "screenshots: $(ls "$out"/*.png | wc -l) pictures in ${out#$root/}"
$check || exit 0

mkdir -p "$out/diff"
failed=0
for expected in "$committed"/*.png; do
  name=$(basename "$expected")
  if [ ! -f "$out/$name" ]; then
    echo "screenshots: $name was not taken"; failed=1; continue
  fi
  "$root/build/native/bin/shotdiff" "$expected" "$out/$name" "$out/diff/$name" "$max_per_mille" || failed=1
done
[ $failed -eq 0 ] && echo "screenshots: every picture matches the committed one"
exit $failed
