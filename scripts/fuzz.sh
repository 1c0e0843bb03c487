#!/usr/bin/env bash
# scripts/fuzz.sh [SECONDS] [TARGET ...]
# scripts/fuzz.sh --campaign MINUTES [TARGET ...]
#
# Builds every libFuzzer target with clang into build-fuzz/ (AddressSanitizer
# and UBSan included) and runs the named targets, or all of them.
#
# Short runs (default 60 s each) work on a copy of the seed corpus in
# fuzz/findings/NAME/ and leave the corpus alone.
#
# A campaign runs each target for MINUTES, then merges what it found into
# fuzz/corpus/NAME/ (libFuzzer's -merge=1 keeps only inputs that reach new
# coverage) and prints one line per target: executions, coverage features,
# new corpus files, findings.  Commit the corpus it grows; every finding
# becomes a test.
#
# Crashes, leaks, time-outs and out-of-memory inputs land in
# fuzz/findings/crashes/.  Exits non-zero when a target finds something.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

campaign=""
if [ "${1:-}" = --campaign ]; then
  [ $# -ge 2 ] || { echo "usage: scripts/fuzz.sh --campaign MINUTES [TARGET ...]" >&2; exit 2; }
  campaign="$2"; shift 2
  seconds=$((campaign * 60))
else
  seconds="${1:-60}"; [ $# -gt 0 ] && shift
fi
case "$seconds" in ''|*[!0-9]*) echo "fuzz.sh: not a number of seconds or minutes: $seconds" >&2; exit 2 ;; esac

targets=()
if [ $# -gt 0 ]; then
  for name in "$@"; do
    [ -f "fuzz/$name.cpp" ] || { echo "fuzz.sh: no fuzz target $name (fuzz/$name.cpp)" >&2; exit 2; }
    targets+=("$name")
  done
else
  for target in fuzz/*.cpp; do
    name="$(basename "$target" .cpp)"
    [ "$name" = ReplayDriver ] || targets+=("$name")
  done
fi

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

count() { find "$1" -maxdepth 1 -type f 2>/dev/null | wc -l; }

status=0
summary=()
crashes=fuzz/findings/crashes
mkdir -p "$crashes"
for name in "${targets[@]}"; do
  binary="build-fuzz/bin/fuzz_$name"
  corpus="fuzz/corpus/$name"
  work="fuzz/findings/$name"
  mkdir -p "$work" "$corpus"
  cp -n "$corpus"/* "$work"/ 2>/dev/null || true
  before_findings=$(find "$crashes" -maxdepth 1 -name "$name-*" | wc -l)
  log="fuzz/findings/$name.log"
  echo "== fuzz $name for ${seconds}s (log in $log)"
  # -close_fd_mask=3: the targets' own diagnostics are not shown; libFuzzer
  # and the sanitizers still report.  -timeout: an input that takes more
  # than 10 s is a hang and a finding.
  failed=0
  "$binary" -max_total_time="$seconds" -timeout=10 -close_fd_mask=3 -print_final_stats=1 \
    -artifact_prefix="$crashes/$name-" "$work" >"$log" 2>&1 || failed=1
  tail -n 12 "$log"
  findings=$(( $(find "$crashes" -maxdepth 1 -name "$name-*" | wc -l) - before_findings ))
  if [ "$failed" = 1 ] || [ "$findings" -gt 0 ]; then
    echo "== fuzz $name FAILED"; status=1
  fi
  [ -n "$campaign" ] || continue

  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  features=$(grep -oE ' ft: [0-9]+' "$log" | tail -n 1 | tr -dc 0-9)
  before=$(count "$corpus")
  "$binary" -merge=1 -close_fd_mask=3 "$corpus" "$work" >"fuzz/findings/$name.merge.log" 2>&1 || {
    echo "== merge $name FAILED (fuzz/findings/$name.merge.log)"; status=1; }
  added=$(( $(count "$corpus") - before ))
  summary+=("$(printf '%-32s %10s executions %6s features %4d new corpus files %2d findings' \
    "$name" "${executions:-?}" "${features:-?}" "$added" "$findings")")
done

if [ -n "$campaign" ]; then
  echo "== campaign of $campaign minutes per target"
  printf '%s\n' "${summary[@]}"
fi
exit $status
