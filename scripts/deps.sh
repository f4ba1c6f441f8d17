#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, where missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ make googletest libgtest-dev
  g++-mingw-w64-x86-64-posix
  wine wine64 fonts-wine xvfb xauth imagemagick x11-utils
  libbenchmark-dev clang libclang-rt-14-dev
  clang-format clang-tidy
  nsis
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

line="apt-get install -y --no-install-recommends ${missing[*]}"
if [[ $(id -u) -ne 0 ]]; then
  echo "Missing packages. As root, run:" >&2
  echo "  apt-get update && $line" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
$line
