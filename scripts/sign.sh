#!/usr/bin/env bash
# Signs Windows programs in place (Authenticode, SHA-256, with osslsigncode) with the certificate
# and key in the PKCS#12 file that TV_SIGN_PFX names, whose password is in TV_SIGN_PASSWORD_FILE.
# The signing time written is SOURCE_DATE_EPOCH where set, so that one commit signed with one key
# gives the same bytes every time. Such a signature verifies only while the certificate is valid.
# With TV_SIGN_TIMESTAMP_URL, that time-stamp server (RFC 3161) countersigns each signature, which
# then stays valid after the certificate has expired, as long as it was valid at signing; but the
# server's time goes into every file, so each signing gives other bytes.
# scripts/package.sh calls it (through CPack and makensis) for the programs, the uninstaller and
# the installers.
# Usage: TV_SIGN_PFX=... TV_SIGN_PASSWORD_FILE=... [TV_SIGN_TIMESTAMP_URL=...] scripts/sign.sh FILE...
set -euo pipefail

[[ -n ${TV_SIGN_PFX:-} && -n ${TV_SIGN_PASSWORD_FILE:-} ]] || {
  echo "sign: set TV_SIGN_PFX and TV_SIGN_PASSWORD_FILE" >&2
  exit 2
}
for file in "$@"; do
  out=$(osslsigncode sign -pkcs12 "$TV_SIGN_PFX" -readpass "$TV_SIGN_PASSWORD_FILE" -h sha256 \
    -n "Tavik Varrow V.2" ${SOURCE_DATE_EPOCH:+-time "$SOURCE_DATE_EPOCH"} \
    ${TV_SIGN_TIMESTAMP_URL:+-ts "$TV_SIGN_TIMESTAMP_URL"} \
    -in "$file" -out "$file.signing" 2>&1) || {
    rm -f "$file.signing"
    echo "$out" >&2
    echo "sign: could not sign $file" >&2
    exit 1
  }
  mv -f "$file.signing" "$file"
done
