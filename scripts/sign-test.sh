#!/usr/bin/env bash
# The signing of the release files. A throwaway self-signed certificate signs the packages of the
# Windows builds (scripts/package.sh into PACKAGES, where they stay for the end-to-end tests to
# install); osslsigncode, trusting that certificate only, then checks that each installer and the
# programs in each zip carry its signature with the file's own digest (not the uninstaller, which
# exists only once an install has written it); that a copy of an installer with one byte changed
# fails; that SHA256SUMS holds the signed files and the builds' own programs stay unsigned; and
# that signing fails, leaving the file unsigned, when the time-stamp server asked (RFC 3161) does
# not answer, rather than signing without a stamp. One line per check; fails on any failure.
# Usage: scripts/sign-test.sh [--xml REPORT] PACKAGES [BUILD...]   (default build/win64 build/win32)
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/report.sh
xml_option "$@" && shift 2
[[ $# -gt 0 ]] || { echo "usage: $0 [--xml REPORT] PACKAGES [BUILD...]" >&2; exit 2; }
packages=$(realpath -m "$1")
shift
builds=("$@")
[[ ${#builds[@]} -gt 0 ]] || builds=(build/win64 build/win32)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

check() { # name, then the command that must succeed
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
unsigned() {
  local out
  [[ -f $1 ]] && ! out=$(osslsigncode verify -in "$1" 2>&1) && grep -q 'No signature found' <<<"$out" ||
    { echo "${out:-$1 missing}"; return 1; }
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
flip() { # the middle byte of the file
  local offset byte
  offset=$(($(stat -c %s "$1") / 2))
  byte=$(od -An -tu1 -j "$offset" -N1 "$1")
  printf "\\$(printf %03o $((byte ^ 255)))" | dd of="$1" bs=1 seek="$offset" conv=notrunc status=none
}

certificate() {
  printf 'not a real secret\n' >"$tmp/password" &&
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tavik Varrow signing test" \
      -addext extendedKeyUsage=codeSigning -keyout "$tmp/key.pem" -out "$tmp/cert.pem" &&
    openssl pkcs12 -export -inkey "$tmp/key.pem" -in "$tmp/cert.pem" -out "$tmp/test.pfx" \
      -passout "file:$tmp/password"
}
check "a throwaway certificate" certificate
check "the packages signed with it" env TV_SIGN_PFX="$tmp/test.pfx" \
  TV_SIGN_PASSWORD_FILE="$tmp/password" TV_PACKAGE_DIR="$packages" scripts/package.sh "${builds[@]}"

installers=("$packages"/tavik-varrow-*.exe)
check "an installer and a zip of each build" \
  test "$(ls "$packages"/tavik-varrow-*.{exe,zip} 2>/dev/null | wc -l)" -eq $((2 * ${#builds[@]}))
for installer in "${installers[@]}"; do
  arch=${installer##*-}
  check "the ${arch%.exe} installer signed" signed "$installer"
done
for zip in "$packages"/tavik-varrow-*.zip; do
  arch=${zip##*-}
  mkdir -p "$tmp/${arch%.zip}" && (cd "$tmp/${arch%.zip}" && cmake -E tar xf "$zip")
  for name in tavik-varrow.exe roomsim.exe; do
    check "$name in the ${arch%.zip} zip signed" signed "$(ls "$tmp/${arch%.zip}"/*/"$name" 2>/dev/null)"
  done
done
cp "${installers[0]}" "$tmp/changed.exe" 2>/dev/null && flip "$tmp/changed.exe"
check "an installer with one byte changed fails" tampered "$tmp/changed.exe"
check "SHA256SUMS of the signed files" bash -c "cd '$packages' && sha256sum -c SHA256SUMS"
for build in "${builds[@]}"; do
  check "$(basename "$build")'s own tavik-varrow.exe unsigned" unsigned "$build/bin/tavik-varrow.exe"
done
check "a time-stamp server that does not answer fails the signing" \
  stamp_refused "${builds[0]}/bin/roomsim.exe"

write_report "$REPORT" Signing
