#!/usr/bin/env bash
# Sets up the machine, then builds and runs every test twice: a normal build
# (warnings are errors) and a build with AddressSanitizer and
# UndefinedBehaviorSanitizer.  Exits non-zero when anything fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/setup.sh
jobs="$(nproc 2>/dev/null || echo 2)"

status=0
run() {
  local dir="$1"; shift
  echo "== build $dir $*"
  if ! bash scripts/build.sh "$dir" "$@"; then
    echo "== build $dir FAILED"; status=1; return
  fi
  echo "== test $dir"
  if ! ctest --test-dir "$dir" --output-on-failure -j "$jobs"; then
    echo "== test $dir FAILED"; status=1
  fi
}

run build -DCMAKE_BUILD_TYPE=RelWithDebInfo
run build-asan -DCMAKE_BUILD_TYPE=Debug -DZB_SANITIZE=ON
exit $status
