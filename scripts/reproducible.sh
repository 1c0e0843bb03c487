#!/usr/bin/env bash
# scripts/reproducible.sh [COMMIT]: builds one commit (default HEAD) twice,
# from two clones in two directories of different depths, each the plain
# way (scripts/build.sh DIR --target zbsvc, no compiler cache, then
# cmake --install), installs both under the same prefix and checks that
# the two installed trees are the same bytes and that no installed file
# names its source or build directory.  Slow (two whole builds): not part of
# the tests.  Exits 1 naming what differs.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
commit="$(git -C "$root" rev-parse "${1:-HEAD}")" || exit 2
work="$(mktemp -d /tmp/zbrepro.XXXXXX)"
trap 'rm -rf "$work"' EXIT
jobs="$(nproc 2>/dev/null || echo 2)"

# build SOURCE: clone, build, install into SOURCE.tree (prefix /usr).
build() {
  local src="$1"
  git clone -q "$root" "$src" && git -C "$src" checkout -q "$commit" || return 1
  CCACHE_DISABLE=1 bash "$src/scripts/build.sh" "$src/build" --target zbsvc \
    >"$src.log" 2>&1 || { tail -n 20 "$src.log"; return 1; }
  DESTDIR="$src.tree" cmake --install "$src/build" --prefix /usr >>"$src.log" 2>&1 ||
    { tail -n 20 "$src.log"; return 1; }
}

one="$work/a"
two="$work/bb/second/clone"
mkdir -p "$(dirname "$two")"
echo "reproducible: building $commit in $one and $two ($jobs jobs each, one after the other)"
build "$one" && build "$two" || { echo "reproducible: a build failed"; exit 1; }

failed=0
if ! diff -r --no-dereference "$one.tree" "$two.tree" >"$work/diff" 2>&1; then
  echo "reproducible: the installed trees differ:"
  head -n 20 "$work/diff"
  failed=1
fi
for src in "$one" "$two"; do
  if grep -rlF -e "$src" "$src.tree" >"$work/named"; then
    echo "reproducible: installed files naming $src:"
    head -n 20 "$work/named"
    failed=1
  fi
done
count="$(find "$one.tree" -type f | wc -l)"
[ "$failed" -eq 0 ] && echo "reproducible: $count installed files, the same bytes in both trees"
exit "$failed"
