#!/usr/bin/env bash
# Packs the Windows builds into the release files: for each of win64 and win32,
# tavik-varrow-<version>-<arch>.zip and the NSIS installer tavik-varrow-<version>-<arch>.exe,
# each with a .sha256 beside it, in build/package/ (or TV_PACKAGE_DIR).
# Usage: scripts/package.sh [build folder...]   (default build/win64 build/win32)
set -euo pipefail
cd "$(dirname "$0")/.."

builds=("$@")
[[ ${#builds[@]} -gt 0 ]] || builds=(build/win64 build/win32)
out=${TV_PACKAGE_DIR:-build/package}
for build in "${builds[@]}"; do
  [[ -f $build/CPackConfig.cmake ]] || {
    echo "package: $build is not a configured Windows build (run: make win64 win32)" >&2
    exit 1
  }
done
command -v makensis >/dev/null || {
  echo "package: makensis is missing (Debian package nsis; make deps installs it)" >&2
  exit 1
}

# A fresh folder: exactly one installer of each bitness in it, the one the install check uses.
rm -rf "$out" && mkdir -p "$out"
out=$(cd "$out" && pwd)
for build in "${builds[@]}"; do
  cmake --build "$build" --target tavik-varrow roomsim
  (cd "$build" && cpack -C Release -B "$out") >"$out/cpack.log" 2>&1 || {
    cat "$out/cpack.log" >&2
    exit 1
  }

  # The programs must run on a bare Windows: no MinGW runtime DLL (libstdc++-6.dll,
  # libwinpthread-1.dll, ...) may be imported, since none ships with them; and they must start on
  # Windows XP. CPack's staging folder holds the programs as packed.
  staged=("$out"/_CPack_Packages/*/ZIP/*/*.exe)
  for exe in "${staged[@]}"; do
    runtime=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | grep -iE '^lib' || true)
    if [[ -n $runtime ]]; then
      echo "package: $(basename "$exe") needs DLLs that are not packed: ${runtime//$'\n'/ }" >&2
      exit 1
    fi
  done
  scripts/check-imports.sh "${staged[@]}" >/dev/null || {
    scripts/check-imports.sh "${staged[@]}" >&2
    echo "package: the programs above would not start on Windows XP" >&2
    exit 1
  }
  rm -rf "$out/_CPack_Packages" "$out/cpack.log"
done

echo "Packages:"
for f in "$out"/tavik-varrow-*.zip "$out"/tavik-varrow-*.exe; do
  printf '  %s  (%s bytes)\n' "$f" "$(stat -c %s "$f")"
done
