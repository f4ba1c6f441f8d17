#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, where missing; then Wine's
# 32-bit half (the i386 architecture and wine32:i386), where this machine can run 32-bit programs.
set -euo pipefail

packages=(
  cmake ninja-build g++ make googletest libgtest-dev
  g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32
  wine wine64 fonts-wine xvfb xauth imagemagick x11-utils
  libbenchmark-dev clang libclang-rt-14-dev
  clang-format clang-tidy
  nsis locales
  osslsigncode openssl python3
)

installed() { [[ $(dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true) == "install ok installed" ]]; }

as_root() {  # what for, then the command line
  local why=$1
  shift
  if [[ $(id -u) -ne 0 ]]; then
    echo "$why. As root, run:" >&2
    echo "  $*" >&2
    return 1
  fi
  echo "Installing: $why"
  (export DEBIAN_FRONTEND=noninteractive && eval "$*")
}

missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
if [[ ${#missing[@]} -gt 0 ]]; then
  as_root "${missing[*]}" "apt-get update -qq && apt-get install -y --no-install-recommends ${missing[*]}"
fi

# Wine takes each process's ANSI code page from its Unix locale: the end-to-end tests run the tool
# under the locales of tests/e2e/code-pages.txt.
for name in $(awk '!/^#/ && NF { print $2 }' "$(dirname "$0")/../tests/e2e/code-pages.txt"); do
  locale -a 2>/dev/null | grep -ix "$name.utf-\?8" >/dev/null ||
    as_root "the $name.UTF-8 locale" "localedef -i $name -f UTF-8 $name.UTF-8"
done

# Some kernels cannot run 32-bit Linux programs at all (no IA-32 emulation); there Wine's 32-bit
# half would only break `wine` itself, so it stays out and the 32-bit suites are skipped. A
# five-line 32-bit program tells.
runs_32bit() {
  local dir rc
  dir=$(mktemp -d)
  printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >"$dir/exit.s"
  as --32 -o "$dir/exit.o" "$dir/exit.s" && ld -m elf_i386 -o "$dir/exit" "$dir/exit.o" &&
    "$dir/exit" 2>/dev/null
  rc=$?
  rm -rf "$dir"
  return $rc
}

installed wine32:i386 && exit 0
if ! runs_32bit; then
  echo "deps: this machine cannot run 32-bit programs; Wine stays 64-bit only (32-bit tests skipped)"
  exit 0
fi
line="apt-get update -qq && apt-get install -y --no-install-recommends wine32:i386"
dpkg --print-foreign-architectures | grep -qx i386 || line="dpkg --add-architecture i386 && $line"
as_root "Wine's 32-bit half (wine32:i386)" "$line" || true  # the 32-bit suites are skipped without it
