#!/usr/bin/env bash
# Whether the release files are reproducible: clones one commit twice, into two folders of
# different names and depths, runs `make package` in each, and compares what they made: the
# programs (tavik-varrow.exe and roomsim.exe of both builds), the zips, the installers and
# SHA256SUMS. Prints each file's SHA-256 from both, and "identical" or the bytes that differ; fails
# when any differ. The clones stay in build/reproducible/ (or TV_REPRO_DIR) to look into.
# Usage: scripts/reproducible-check.sh [--worktree] [commit]   (default HEAD)
#   --worktree  the commit with this working tree's changes on it (and its new files not ignored)
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

worktree=0
if [[ ${1:-} == --worktree ]]; then
  worktree=1
  shift
fi
commit=$(git rev-parse --verify "${1:-HEAD}^{commit}")
work=$(realpath -m "${TV_REPRO_DIR:-build/reproducible}")
first=$work/first/tavik-varrow
second=$work/second-checkout/src/tv

rm -rf "$work"
for clone in "$first" "$second"; do
  echo "== $clone: $(git log -1 --format='%h %s' "$commit")$([[ $worktree == 1 ]] && echo ' + working tree')"
  git clone -q --no-checkout "$repo" "$clone"
  git -C "$clone" checkout -q "$commit"
  if [[ $worktree == 1 ]]; then
    git diff --binary "$commit" | git -C "$clone" apply --allow-empty
    git ls-files -z --others --exclude-standard | tar --null -T - -cf - | tar -C "$clone" -xf -
  fi
  # Nothing of the caller's packaging settings: each run takes what a fresh checkout would.
  env -u MAKEFLAGS -u MAKELEVEL -u TV_PACKAGE_DIR -u SOURCE_DATE_EPOCH -u TV_SIGN_PFX \
    -u TV_SIGN_PASSWORD_FILE -u TV_SIGN_TIMESTAMP_URL make -C "$clone" package >"$clone.log" 2>&1 || {
    tail -n 30 "$clone.log" >&2
    echo "reproducible-check: make package failed in $clone (log: $clone.log)" >&2
    exit 1
  }
done

files=()
for bits in win64 win32; do
  files+=("build/$bits/bin/tavik-varrow.exe" "build/$bits/bin/roomsim.exe")
done
mapfile -t -O "${#files[@]}" files < <(cd "$first/build/package" && ls | sed 's|^|build/package/|')

different=0
for file in "${files[@]}"; do
  a=$first/$file b=$second/$file
  echo "$file"
  echo "  first:  $(sha256sum <"$a" | cut -d' ' -f1)"
  echo "  second: $( [[ -f $b ]] && sha256sum <"$b" | cut -d' ' -f1 || echo missing)"
  if cmp -s "$a" "$b"; then
    echo "  identical"
    continue
  fi
  different=$((different + 1))
  [[ -f $b ]] || continue
  # cmp -l: 1-based decimal offsets, octal bytes; shown as 0-based hex offsets and hex bytes.
  cmp -l "$a" "$b" 2>/dev/null | awk -v size="$(stat -c %s "$a") / $(stat -c %s "$b")" '
    function octal(s, v, i) { for (i = 1; i <= length(s); i++) v = v * 8 + substr(s, i, 1); return v }
    { n++; if (n <= 8) list = list sprintf(" 0x%x (%02x/%02x)", $1 - 1, octal($2), octal($3)) }
    END { printf "  DIFFERENT: %d bytes differ (sizes %s); first at%s\n", n, size, list }'
done
echo "${#files[@]} files: $([[ $different == 0 ]] && echo "all identical" || echo "$different differ")"
[[ $different == 0 ]]
