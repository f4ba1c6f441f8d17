#!/usr/bin/env bash
# Packs the Windows build into the release files: tavik-varrow-<version>-win64.zip and the NSIS
# installer tavik-varrow-<version>-win64.exe, each with a .sha256 beside it, in build/package/
# (or TV_PACKAGE_DIR). Usage: scripts/package.sh [build folder]   (default build/win64)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/win64}
out=${TV_PACKAGE_DIR:-build/package}
[[ -f $build/CPackConfig.cmake ]] || {
  echo "package: $build is not a configured Windows build (run: make win64)" >&2
  exit 1
}
command -v makensis >/dev/null || {
  echo "package: makensis is missing (Debian package nsis; make deps installs it)" >&2
  exit 1
}

cmake --build "$build" --target tavik-varrow roomsim
# A fresh folder: exactly one installer in it, the one the install check uses.
rm -rf "$out" && mkdir -p "$out"
out=$(cd "$out" && pwd)
(cd "$build" && cpack -C Release -B "$out") >"$out/cpack.log" 2>&1 || {
  cat "$out/cpack.log" >&2
  exit 1
}

# The programs must run on a bare Windows: no MinGW runtime DLL (libstdc++-6.dll,
# libwinpthread-1.dll, ...) may be imported, since none ships with them. CPack's staging folder
# holds the programs as packed.
objdump=x86_64-w64-mingw32-objdump
if command -v "$objdump" >/dev/null; then
  for exe in "$out"/_CPack_Packages/*/ZIP/*/*.exe; do
    runtime=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | grep -iE '^lib' || true)
    if [[ -n $runtime ]]; then
      echo "package: $(basename "$exe") needs DLLs that are not packed: ${runtime//$'\n'/ }" >&2
      exit 1
    fi
  done
fi
rm -rf "$out/_CPack_Packages" "$out/cpack.log"

echo "Packages:"
for f in "$out"/tavik-varrow-*-win64.zip "$out"/tavik-varrow-*-win64.exe; do
  printf '  %s  (%s bytes)\n' "$f" "$(stat -c %s "$f")"
done
