#!/usr/bin/env bash
# Packs the Windows builds into the release files: for each of win64 and win32,
# tavik-varrow-<version>-<arch>.zip and the NSIS installer tavik-varrow-<version>-<arch>.exe, and
# SHA256SUMS over them all (`sha256sum -c SHA256SUMS`), in build/package/ (or TV_PACKAGE_DIR).
# One commit gives the same bytes wherever and whenever it is packed (scripts/reproducible-check.sh
# checks): every time in them is SOURCE_DATE_EPOCH, by default the last commit's.
# With TV_SIGN_PFX (a PKCS#12 file) and TV_SIGN_PASSWORD_FILE (its password), which `make package
# SIGN_PFX=... SIGN_PASSWORD_FILE=...` sets, the programs, the uninstaller and the installers are
# signed (scripts/sign.sh); without them nothing is. TV_SIGN_TIMESTAMP_URL (`make package
# SIGN_TIMESTAMP_URL=...`) adds a time stamp from that server to each signature, and with it the
# server's time: such packages are no longer the same bytes each time. The programs as packed are
# checked to start on Windows XP (scripts/check-imports.sh), with a report in TV_XP_REPORT if set.
# Usage: scripts/package.sh [build folder...]   (default build/win64 build/win32)
set -euo pipefail
# The certificate's files as given, from the caller's folder.
for var in TV_SIGN_PFX TV_SIGN_PASSWORD_FILE; do
  [[ -n ${!var:-} ]] || continue
  path=$(realpath -e -- "${!var}") || {
    echo "package: $var: ${!var} not found" >&2
    exit 1
  }
  export "$var=$path"
done
[[ -z ${TV_XP_REPORT:-} ]] || TV_XP_REPORT=$(realpath -m -- "$TV_XP_REPORT")
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
if [[ -n ${TV_SIGN_PFX:-}${TV_SIGN_PASSWORD_FILE:-}${TV_SIGN_TIMESTAMP_URL:-} ]]; then
  [[ -n ${TV_SIGN_PFX:-} && -n ${TV_SIGN_PASSWORD_FILE:-} ]] || {
    echo "package: signing (and its time stamp) needs both SIGN_PFX and SIGN_PASSWORD_FILE" >&2
    exit 1
  }
  command -v osslsigncode >/dev/null || {
    echo "package: osslsigncode is missing (Debian package osslsigncode; make deps installs it)" >&2
    exit 1
  }
fi
# Outside a git checkout of its own (an unpacked source archive), a fixed time: 2000-01-01 UTC.
if [[ -z ${SOURCE_DATE_EPOCH:-} ]]; then
  SOURCE_DATE_EPOCH=946684800
  [[ $(git rev-parse --show-toplevel 2>/dev/null) != "$(pwd -P)" ]] ||
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
fi
export SOURCE_DATE_EPOCH

# A fresh folder: exactly one installer of each bitness in it, the one the install check uses.
rm -rf "$out" && mkdir -p "$out"
out=$(cd "$out" && pwd)
for build in "${builds[@]}"; do
  cmake --build "$build" --target tavik-varrow roomsim
  (cd "$build" && cpack -C Release -B "$out") >"$out/cpack.log" 2>&1 || {
    cat "$out/cpack.log" >&2
    exit 1
  }
done
# CPack's staging folder holds the programs as packed.
scripts/check-imports.sh ${TV_XP_REPORT:+--xml "$TV_XP_REPORT"} "$out"/_CPack_Packages/*/ZIP/*/*.exe || {
  echo "package: the programs above would not start on Windows XP" >&2
  exit 1
}
rm -rf "$out/_CPack_Packages" "$out/cpack.log"

# CPack's zips hold each file's owner, its times to the second and the order the files were found
# in: written again with the entries sorted, each dated SOURCE_DATE_EPOCH and with fixed modes.
for zip in "$out"/tavik-varrow-*.zip; do
  python3 - "$zip" "$SOURCE_DATE_EPOCH" <<'EOF'
import os, sys, time, zipfile
path, epoch = sys.argv[1], max(int(sys.argv[2]), 315532800)  # zip times start in 1980
with zipfile.ZipFile(path) as old, zipfile.ZipFile(path + ".new", "w") as new:
    for name in sorted(old.namelist()):
        entry = zipfile.ZipInfo(name, time.gmtime(epoch)[:6])
        entry.create_system = 3
        entry.external_attr = (0o100755 if name.endswith(".exe") else 0o100644) << 16
        new.writestr(entry, old.read(name), zipfile.ZIP_DEFLATED, 9)
os.replace(path + ".new", path)
EOF
done
(cd "$out" && LC_ALL=C sha256sum -- tavik-varrow-*.zip tavik-varrow-*.exe >SHA256SUMS)

echo "Packages$([[ -n ${TV_SIGN_PFX:-} ]] && echo ", signed"):"
for f in "$out"/tavik-varrow-*.zip "$out"/tavik-varrow-*.exe "$out"/SHA256SUMS; do
  printf '  %s  (%s bytes)\n' "$f" "$(stat -c %s "$f")"
done
