# Sourced: the private Wine prefix of build/win64 and the environment every Wine call needs.
# Creates and configures the prefix once (Wine's first start takes 10-15 s).
bw_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="$bw_root/build/win64/wineprefix"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

# Unmanaged windows (no window manager here), no crash debugger, no audio driver: into
# the prefix WINEPREFIX names, made already.
bw_wine_settings() {
  local reg="$WINEPREFIX/bw-settings.reg"
  cat > "$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="N"

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Audio"=""

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"=""
REG
  wine regedit "$reg" >/dev/null 2>&1
}

bw_wine_prefix() {
  local stamp="$WINEPREFIX/.bw-configured"
  [ -f "$stamp" ] && return 0
  mkdir -p "$WINEPREFIX"
  wineserver -k >/dev/null 2>&1 || true
  wineboot -i >/dev/null 2>&1 || true
  bw_wine_settings
  # Wine's own fonts make "MS Sans Serif" and "Tahoma" real faces.
  local fonts
  fonts=$(dpkg -L fonts-wine 2>/dev/null | grep -E '\.(ttf|fon)$' || true)
  if [ -n "$fonts" ]; then
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    # shellcheck disable=SC2086
    cp -f $fonts "$WINEPREFIX/drive_c/windows/Fonts/"
  fi
  wineserver -w >/dev/null 2>&1 || true
  touch "$stamp"
}
