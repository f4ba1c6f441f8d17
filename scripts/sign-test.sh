#!/usr/bin/env bash
# The signing of the release files: a throwaway self-signed certificate (openssl, a PKCS#12 file
# and a password file) signs a package of one Windows build (scripts/package.sh into a temporary
# folder), and osslsigncode, trusting that certificate only, checks:
# - the installer and both programs in the zip carry a signature by that certificate whose digest
#   is that of the file (not the uninstaller, which exists only once an install has written it);
# - a copy of the installer with one byte changed fails;
# - SHA256SUMS holds the signed files, and the packages made without a certificate are unsigned;
# - asked for a time stamp, signing asks that server for one (RFC 3161), and fails, leaving the file
#   unsigned, when it does not answer, rather than signing without one.
# Prints one line per check and, with --xml, writes a GoogleTest-style report; fails on any failure.
# Usage: scripts/sign-test.sh [--xml REPORT] [build folder]   (default build/win64; packaged first)
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/report.sh
xml_option "$@" && shift 2
build=${1:-build/win64}
unsigned=${TV_PACKAGE_DIR:-build/package}  # where `make package` put the unsigned ones
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

check() {  # name, then the command that must succeed
  local name=$1 out
  shift
  if out=$("$@" 2>&1); then
    report_case "$name"
    echo "$name: ok"
  else
    report_case "$name" "$(tail -n 3 <<<"$out" | tr '\n' ' ')"
    echo "$name: FAILED: $out"
  fi
}

# Signed by the test certificate, and the digest in the signature is the file's.
signed() {
  local out
  out=$(osslsigncode verify -CAfile "$tmp/cert.pem" -in "$1" 2>&1)
  [[ $? -eq 0 ]] && grep -q 'Subject: /CN=Tavik Varrow signing test' <<<"$out" &&
    ! grep -q MISMATCH <<<"$out" || { echo "$out"; return 1; }
}
# A signature there, by the test certificate, whose digest is not the file's.
tampered() {
  local out
  [[ -f $1 ]] && ! out=$(osslsigncode verify -CAfile "$tmp/cert.pem" -in "$1" 2>&1) &&
    grep -q MISMATCH <<<"$out" || { echo "${out:-$1 missing}"; return 1; }
}
# No certificate table in the PE header at all. (Read whole first: with pipefail, grep -q ending
# the pipe early would fail objdump with SIGPIPE.)
unsigned() {
  local headers
  [[ -f $1 ]] && headers=$(x86_64-w64-mingw32-objdump -p "$1") &&
    grep -qE '^Entry 4 0+ 0+ Security Directory' <<<"$headers" ||
    { echo "$1: signed, or not there"; return 1; }
}
# Nothing listens on port 1 here: the connection is refused at once.
stamp_refused() {
  local out
  cp "$1" "$tmp/stamped.exe" || return 1
  out=$(TV_SIGN_PFX="$tmp/test.pfx" TV_SIGN_PASSWORD_FILE="$tmp/password" \
    TV_SIGN_TIMESTAMP_URL=http://127.0.0.1:1 scripts/sign.sh "$tmp/stamped.exe" 2>&1) &&
    { echo "signed without a time stamp"; return 1; }
  grep -q 'RFC 3161' <<<"$out" && unsigned "$tmp/stamped.exe" || { echo "$out"; return 1; }
}
flip() { python3 -c 'import sys; d = bytearray(open(sys.argv[1], "rb").read()); d[len(d) // 2] ^= 0xff; open(sys.argv[1], "wb").write(d)' "$1"; }
unzip_exes() { python3 -c 'import sys, zipfile; z = zipfile.ZipFile(sys.argv[1]); [z.extract(n, sys.argv[2]) for n in z.namelist() if n.endswith(".exe")]' "$@"; }

certificate() {
  printf 'not a real secret\n' >"$tmp/password" &&
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tavik Varrow signing test" \
      -addext extendedKeyUsage=codeSigning -keyout "$tmp/key.pem" -out "$tmp/cert.pem" &&
    openssl pkcs12 -export -inkey "$tmp/key.pem" -in "$tmp/cert.pem" -out "$tmp/test.pfx" \
      -passout "file:$tmp/password"
}
check "a throwaway certificate" certificate
check "a package signed with it" env TV_SIGN_PFX="$tmp/test.pfx" \
  TV_SIGN_PASSWORD_FILE="$tmp/password" TV_PACKAGE_DIR="$tmp/package" scripts/package.sh "$build"

installer=$(ls "$tmp"/package/tavik-varrow-*.exe 2>/dev/null | head -n 1)
check "the installer signed" signed "$installer"
unzip_exes "$tmp"/package/tavik-varrow-*.zip "$tmp/unzipped" 2>/dev/null
for name in tavik-varrow.exe roomsim.exe; do
  check "$name in the zip signed" signed "$(ls "$tmp"/unzipped/*/"$name" 2>/dev/null)"
done
cp "$installer" "$tmp/changed.exe" 2>/dev/null && flip "$tmp/changed.exe"
check "the installer with one byte changed fails" tampered "$tmp/changed.exe"
check "SHA256SUMS of the signed files" bash -c "cd '$tmp/package' && sha256sum -c SHA256SUMS"
check "the installer made without a certificate unsigned" \
  unsigned "$unsigned/$(basename "${installer:-none}")"
check "a time-stamp server that does not answer fails the signing" \
  stamp_refused "$unsigned/$(basename "${installer:-none}")"

write_report "$REPORT" Signing
