#!/usr/bin/env bash
# How long one run over the same presentation takes in the desktop program (under Wine,
# driven from outside) and in brindlewick-extract (natively, and the Windows build under
# Wine), on this machine in this run. The source is synthetic: MB megabytes holding
# PICTURES JPEG pictures.
# scripts/time-desktop-vs-cli.sh [MB] [PICTURES]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mb=${1:-30}
pictures=${2:-300}
"$root/scripts/build.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat > "$work/measure.sh" <<INNER
set -euo pipefail
source "$root/scripts/wine-env.sh"
bw_wine_prefix
wineserver -k >/dev/null 2>&1 || true
wineserver -p >/dev/null 2>&1
wine cmd.exe /c exit 0 </dev/null >/dev/null 2>&1
bin="$root/build/win64/bin"
wine "\$bin/brindlewick-driver.exe" make-source "$work/talk.ppt" $mb $pictures | tr -d '\r'
ls -l "$work/talk.ppt" | awk '{printf "source: %.1f MB\n", \$5 / 1048576}'

seconds() {
  local s=\$(date +%s%N); "\$@" >/dev/null 2>&1; local e=\$(date +%s%N)
  local ms=\$(( (e - s) / 1000000 )); printf '%d.%02d' \$((ms / 1000)) \$(( (ms % 1000) / 10 ))
}
rm -rf "$work/talk"
printf 'brindlewick-extract (native):      %6s s\n' "\$(seconds "$root/build/native/bin/brindlewick-extract" --yes --quiet "$work/talk.ppt")"
rm -rf "$work/talk"
printf 'brindlewick-extract.exe (Wine):    %6s s\n' "\$(seconds wine "\$bin/brindlewick-extract.exe" --yes --quiet "$work/talk.ppt")"
rm -rf "$work/talk"
wine "\$bin/brindlewick-driver.exe" language set EN >/dev/null
wine "\$bin/brindlewick-driver.exe" time-run "\$bin/brindlewick.exe" "$work/talk.ppt" | tr -d '\r' | head -n 2
echo "files written by the desktop run: \$(ls "$work/talk" | wc -l)"
wineserver -k >/dev/null 2>&1 || true
INNER
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash "$work/measure.sh"
