#!/usr/bin/env bash
# Sets up the machine, then builds and runs every test twice: a normal build
# (warnings are errors) and a build with AddressSanitizer and
# UndefinedBehaviorSanitizer.  The normal build is also installed into a
# temporary prefix and used from there by examples/consumer
# (scripts/install-test.sh).  With --valgrind, the tests of the normal build
# then run once more under valgrind's memcheck (label valgrind, see
# scripts/memcheck.sh).  Exits non-zero when anything fails.
set -euo pipefail
valgrind=OFF
case "${1:-}" in
  --valgrind) valgrind=ON ;;
  "") ;;
  *) echo "usage: scripts/test.sh [--valgrind]" >&2; exit 2 ;;
esac
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/setup.sh
jobs="$(nproc 2>/dev/null || echo 2)"

status=0
# The tests of build/ also run through a one-node Slurm cluster, brought up
# for them and always stopped (unless it was up before); without one (not
# root, no packages) its tests skip.
cluster=""
trap '[ -z "$cluster" ] || bash scripts/slurm-local.sh down' EXIT
run() {
  local dir="$1"; shift
  echo "== build $dir $*"
  if ! bash scripts/build.sh "$dir" "$@"; then
    echo "== build $dir FAILED"; status=1; return
  fi
  local conf=""
  if [ "$dir" = build ] && [ "$(id -u)" = 0 ]; then
    if ! conf="$(bash scripts/slurm-local.sh conf 2>/dev/null)"; then
      cluster=started
      conf="$(bash scripts/slurm-local.sh up)" || { echo "== no local Slurm cluster"; conf=""; }
    fi
  fi
  echo "== test $dir"
  if ! env ${conf:+SLURM_CONF="$conf"} ctest --test-dir "$dir" --output-on-failure -j "$jobs" -LE valgrind; then
    echo "== test $dir FAILED"; status=1
  fi
  if [ "$dir" = build ] && [ "$valgrind" = ON ]; then
    echo "== test $dir under valgrind"
    local start=$SECONDS
    if ! env ${conf:+SLURM_CONF="$conf"} ctest --test-dir "$dir" --output-on-failure -j "$jobs" -L valgrind; then
      echo "== test $dir under valgrind FAILED"; status=1
    fi
    echo "== test $dir under valgrind took $((SECONDS - start)) s"
  fi
  if [ "$cluster" = started ]; then
    bash scripts/slurm-local.sh down; cluster=""
  fi
}

run build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZB_VALGRIND=$valgrind
echo "== install build, build and run the consumer against it"
if ! bash scripts/install-test.sh build; then
  echo "== install FAILED"; status=1
fi
run build-asan -DCMAKE_BUILD_TYPE=Debug -DZB_SANITIZE=ON
exit $status
