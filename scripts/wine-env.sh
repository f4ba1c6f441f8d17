# Sourced by the scripts that run Windows programs: a private Wine prefix inside build/, quiet,
# without the Mono and Gecko installers that a fresh prefix would otherwise offer.
export WINEPREFIX="${WINEPREFIX:-$PWD/build/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
WIN_BIN="$PWD/build/win64/bin"

wine_prefix_ready() {
  if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    echo "Creating the Wine prefix in $WINEPREFIX (once)..."
    mkdir -p "$WINEPREFIX"
    wine wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  # A virtual desktop: Wine draws the window frames and runs a taskbar with a notification area,
  # so programs look and behave the same with or without a window manager.
  if ! grep -q '"Desktop"="Default"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x800 /f >/dev/null 2>&1
    # A crashing program must fail its test, not wait for someone to close Wine's crash dialog.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w
  fi
  # Wine's own Tahoma and Marlett: this Wine build does not find them in its data folder, and
  # without them labels fall back to wider fonts and caption buttons lose their glyphs.
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [[ ! -f "$fonts/tahoma.ttf" && -d /usr/share/wine/fonts ]]; then
    cp /usr/share/wine/fonts/*.ttf "$fonts/"
  fi
  # roomsim answers aim: links inside this prefix only.
  wine "$WIN_BIN/roomsim.exe" --register >/dev/null 2>&1
}
