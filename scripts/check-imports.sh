#!/usr/bin/env bash
# Whether Windows programs start on a bare Windows XP SP3 (32-bit) and XP x64 (64-bit): the PE
# header of each asks for no newer Windows than 5.1 (PE32) or 5.2 (PE32+), and each function it
# imports at load time is in the list of XP's exports, tests/imports/xp-exports.txt, from a DLL
# of Windows (not one of MinGW's runtime, libstdc++-6.dll and the like, which none ships with).
# Two checks per program, printed and, with --xml, written as a GoogleTest-style report; fails
# when any check fails. scripts/package.sh runs it on the programs as they are packed.
# Usage: scripts/check-imports.sh [--xml REPORT] EXE...
set -uo pipefail

list="$(dirname "$0")/../tests/imports/xp-exports.txt"
source "$(dirname "$0")/report.sh"
xml_option "$@" && shift 2
[[ $# -gt 0 ]] || { echo "usage: $0 [--xml REPORT] EXE..." >&2; exit 2; }
objdump=$(command -v x86_64-w64-mingw32-objdump || command -v i686-w64-mingw32-objdump) || {
  echo "check-imports: no MinGW objdump (Debian package binutils-mingw-w64)" >&2
  exit 2
}

# "dll function" for every name the list allows on architecture $1 (x86 or x64).
allowed() {
  awk -v arch="$1" '
    { sub(/#.*/, "") }
    /^\[/ { gsub(/[][]/, ""); dll = tolower($1); on = ($2 == "" || $2 == arch); next }
    on { for (i = 1; i <= NF; i++) print dll, $i }' "$list" | sort -u
}
field() { awk -v f="$1" '$1 == f {print $2}' <<<"$dump"; }

for exe in "$@"; do
  if ! dump=$("$objdump" -p "$exe" 2>&1); then
    report_case "$exe header" "cannot read: $dump"
    report_case "$exe imports" "cannot read the file"
    echo "$exe: FAILED: cannot read: $dump"
    continue
  fi
  case $(sed -n 's/^Magic.*(\(PE32+*\)).*/\1/p' <<<"$dump") in
    PE32) arch=x86 want=5.1 label=win32/$(basename "$exe") ;;
    PE32+) arch=x64 want=5.2 label=win64/$(basename "$exe") ;;
    *) arch="" want="" label=$exe ;;
  esac
  subsystem="$(field MajorSubsystemVersion).$(field MinorSubsystemVersion)"
  os="$(field MajorOSystemVersion).$(field MinorOSystemVersion)"
  problem=""
  [[ -n $arch ]] || problem="not a PE32 or PE32+ program"
  [[ -z $problem && $subsystem != "$want" ]] && problem="subsystem version $subsystem, not $want"
  [[ -z $problem && $os != "$want" ]] && problem="OS version $os, not $want"
  report_case "$label header" "$problem"

  # The import tables: "DLL Name: X" heads each DLL's names; an import by number shows <none>.
  imports=$(awk '
    /^\tDLL Name: / { dll = tolower($3); next }
    dll != "" && /^\t[0-9a-f]+\t? +[0-9]+ +/ { print dll, ($3 == "<none>" ? "#" $2 : $3); next }
    /^$/ { dll = "" }' <<<"$dump" | sort -u)
  count=$(grep -c . <<<"$imports")
  # A DLL the list does not know is no DLL of Windows at all.
  imported=$(awk '
    NR == FNR { allowed[$0] = 1; windows[$1] = 1; next }
    NF < 2 || $0 in allowed { next }
    !($1 in windows) { if (!seen[$1]++) dlls = dlls " " $1; next }
    { names = names " " $1 "!" $2 }
    END {
      if (dlls != "") out = "not DLLs of Windows:" dlls
      if (names != "") out = out (out != "" ? "; " : "") "not on Windows XP:" names
      print out
    }' <(allowed "$arch") - <<<"$imports")
  report_case "$label imports" "$imported"
  if [[ -z $problem && -z $imported ]]; then
    echo "$label: ${arch}, Windows $subsystem, $count imports, all on Windows XP"
  else
    echo "$label: FAILED: ${problem}${problem:+${imported:+; }}${imported}"
  fi
done

write_report "$REPORT" StartsOnWindowsXP
