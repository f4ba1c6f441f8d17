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
  # roomsim answers aim: links inside this prefix only.
  wine "$WIN_BIN/roomsim.exe" --register >/dev/null 2>&1
}
