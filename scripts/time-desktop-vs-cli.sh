#!/usr/bin/env bash
# How long one run over the same presentation takes in the desktop program (under Wine,
# driven from outside; skinned and with --skin none) and in brindlewick-extract (natively,
# and the Windows build under Wine), on this machine in this run. The source is synthetic: MB megabytes holding
# PICTURES JPEG pictures. Each is timed RUNS times and the best time kept, so that other
# work on the machine weighs on the comparison as little as it can.
# scripts/time-desktop-vs-cli.sh [MB] [PICTURES] [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mb=${1:-30}
pictures=${2:-300}
runs=${3:-3}
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
  echo \$(( (e - s) / 1000000 ))
}
best() {  # label, then the command; the output folder goes before every run
  local label=\$1 ms least=; shift
  for i in \$(seq $runs); do
    rm -rf "$work/talk"
    ms=\$("\$@")
    if [ -z "\$least" ] || [ "\$ms" -lt "\$least" ]; then least=\$ms; fi
  done
  printf '%-34s %3d.%02d s (best of $runs)\n' "\$label" \$((least / 1000)) \$(( (least % 1000) / 10 ))
}
desktop_ms() {
  wine "\$bin/brindlewick-driver.exe" time-run "\$bin/brindlewick.exe" "$work/talk.ppt" "\$@" | tr -d '\r' |
    awk '/^desktop run:/ { printf "%d\\n", \$3 * 1000 }'
}
best 'brindlewick-extract (native):' seconds "$root/build/native/bin/brindlewick-extract" --yes --quiet "$work/talk.ppt"
best 'brindlewick-extract.exe (Wine):' seconds wine "\$bin/brindlewick-extract.exe" --yes --quiet "$work/talk.ppt"
wine "\$bin/brindlewick-driver.exe" language set EN >/dev/null
best 'desktop run, skinned (Wine):' desktop_ms
best 'desktop run, unskinned (Wine):' desktop_ms --skin none
echo "files written by the desktop run: \$(ls "$work/talk" | wc -l)"
wineserver -k >/dev/null 2>&1 || true
INNER
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash "$work/measure.sh"
