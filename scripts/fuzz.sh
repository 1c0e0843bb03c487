#!/usr/bin/env bash
# scripts/fuzz.sh [SECONDS]: builds every libFuzzer target with clang into
# build-fuzz/ and runs each for SECONDS (default 60) on a copy of its seed
# corpus.  New inputs land in fuzz/findings/NAME/, crashes in
# fuzz/findings/crashes/.  Exits non-zero when a target fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
seconds="${1:-60}"
bash scripts/setup.sh
mkdir -p build-fuzz
echo "== build build-fuzz (log in build-fuzz/build.log)"
if ! CC=clang CXX=clang++ bash scripts/build.sh build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZB_FUZZERS=ON -DZB_SANITIZE=ON >build-fuzz/build.log 2>&1; then
  tail -n 30 build-fuzz/build.log; exit 1
fi
. scripts/env.sh
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

status=0
mkdir -p fuzz/findings/crashes
for target in fuzz/*.cpp; do
  name="$(basename "$target" .cpp)"
  [ "$name" = ReplayDriver ] && continue
  binary="build-fuzz/bin/fuzz_$name"
  work="fuzz/findings/$name"
  mkdir -p "$work"
  [ -d "fuzz/corpus/$name" ] && cp -n fuzz/corpus/"$name"/* "$work"/ 2>/dev/null || true
  echo "== fuzz $name for ${seconds}s"
  # -close_fd_mask=3: the targets' own diagnostics are not shown; libFuzzer
  # and the sanitizers still report.
  if ! "$binary" -max_total_time="$seconds" -close_fd_mask=3 -print_final_stats=1 \
      -artifact_prefix="fuzz/findings/crashes/$name-" "$work" 2>&1 | tail -n 12; then
    echo "== fuzz $name FAILED"; status=1
  fi
done
exit $status
