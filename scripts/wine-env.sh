# Sourced by the scripts that run Windows programs; sourcing only sets variables and defines
# functions. wine_start begins a session: a private Wine prefix inside build/, quiet, without the
# Mono and Gecko installers that a fresh prefix would otherwise offer, and one wineserver for all
# the programs until wine_stop, which runs at exit at the latest. Works with Wine's 64-bit half
# alone and with both halves; wine_start sets TV_WINE32 to 1 where 32-bit programs run, else to 0
# with the reason in TV_WINE32_WHY. WIN_BIN and WIN32_BIN, the builds' programs, may be given.
export WINEPREFIX="${WINEPREFIX:-$PWD/build/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
WIN_BIN="${WIN_BIN:-$PWD/build/win64/bin}"
WIN32_BIN="${WIN32_BIN:-$PWD/build/win32/bin}"

# Where Wine's loaders are: Debian keeps `wine` (32-bit) and `wine64` in /usr/lib/wine, behind a
# `wine` script; other builds have them on PATH.
_tv_loader_dir() {
  local loader
  for loader in "$(command -v wine64 || true)" /usr/lib/wine/wine64 "$(command -v wine || true)"; do
    if [[ -n $loader && -x $loader ]]; then
      dirname "$(readlink -f "$loader")"
      return
    fi
  done
}
TV_WINE_DIR=$(_tv_loader_dir)

# Whether this machine's Wine has a 32-bit half that runs. A Wine without a separate `wine64` is
# one loader for both bitnesses (or 32-bit only): the prefix test below decides there.
_tv_host_runs_32bit() {
  [[ -x $TV_WINE_DIR/wine64 ]] || return 0
  [[ -x $TV_WINE_DIR/wine ]] && "$TV_WINE_DIR/wine" --version >/dev/null 2>&1
}

# A tiny 32-bit program: Wine's own command shell, ending with a known code.
_tv_prefix_runs_32bit() {
  timeout 120 wine 'C:\windows\syswow64\cmd.exe' /c exit 7 >/dev/null 2>&1
  [[ $? -eq 7 ]] && return 0
  # A 32-bit-only prefix has no syswow64: there every program is a 32-bit one.
  [[ ! -d $WINEPREFIX/drive_c/windows/syswow64 ]] &&
    timeout 120 wine 'C:\windows\system32\cmd.exe' /c exit 7 >/dev/null 2>&1
  [[ $? -eq 7 ]]
}

_tv_make_prefix() {
  echo "Creating the Wine prefix in $WINEPREFIX (once)..."
  mkdir -p "$WINEPREFIX"
  wine wineboot -i >/dev/null 2>&1 || true
  wineserver -w
}

wine_start() {
  # Debian's `wine` starts the 32-bit loader whenever the 32-bit half is installed, and that fails
  # on a machine that cannot run 32-bit Linux programs at all (a kernel without IA-32 emulation):
  # there `wine` is the 64-bit loader, from a folder in front of PATH.
  if ! wine --version >/dev/null 2>&1 && [[ -x $TV_WINE_DIR/wine64 ]]; then
    mkdir -p "$PWD/build/wine-bin"
    printf '#!/bin/sh\nexec "%s" "$@"\n' "$TV_WINE_DIR/wine64" >"$PWD/build/wine-bin/wine"
    chmod +x "$PWD/build/wine-bin/wine"
    export PATH="$PWD/build/wine-bin:$PATH"
    export WINELOADER="$TV_WINE_DIR/wine64"
  fi
  [[ -f "$WINEPREFIX/system.reg" ]] || _tv_make_prefix
  TV_WINE32=0
  TV_WINE32_WHY=""
  if ! _tv_host_runs_32bit; then
    TV_WINE32_WHY="Wine's 32-bit half is missing or cannot run on this machine"
  elif _tv_prefix_runs_32bit; then
    TV_WINE32=1
  else
    # Made before the 32-bit half was installed: such a prefix never learns to start 32-bit
    # programs (wineboot -u does not mend it), a new one does.
    echo "The Wine prefix $WINEPREFIX cannot start 32-bit programs: making it anew."
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    _tv_make_prefix
    if _tv_prefix_runs_32bit; then
      TV_WINE32=1
    else
      TV_WINE32_WHY="a new Wine prefix cannot start 32-bit programs either"
    fi
  fi
  export TV_WINE32 TV_WINE32_WHY

  # A virtual desktop: Wine draws the window frames and runs a taskbar with a notification area,
  # so programs look and behave the same with or without a window manager.
  if ! grep -q '"Desktop"="Default"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x800 /f >/dev/null 2>&1
    # A crashing program must fail its test, not wait for someone to close Wine's crash dialog.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w
  fi
  # No shortcut copied into the Linux desktop's menu, where no uninstaller reaches it.
  if ! grep -q 'winemenubuilder' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /d '' /f >/dev/null 2>&1
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
  wineserver -p || true # already running is fine
  trap wine_stop EXIT
}

# Ends every program of the prefix with the server.
wine_stop() { wineserver -k 2>/dev/null || true; }
