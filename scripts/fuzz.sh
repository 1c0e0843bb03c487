#!/usr/bin/env bash
# scripts/fuzz.sh [SECONDS] [TARGET ...]
# scripts/fuzz.sh [--jobs N] --campaign MINUTES [TARGET ...]
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
# --jobs N runs N targets at a time (each its own libFuzzer process, one
# core each at most); the lines are printed in the order of the targets.
#
# Crashes, leaks, time-outs and out-of-memory inputs land in
# fuzz/findings/crashes/.  Exits non-zero when a target finds something.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

campaign=""
jobs=1
if [ "${1:-}" = --jobs ]; then
  [ $# -ge 2 ] || { echo "usage: scripts/fuzz.sh [--jobs N] --campaign MINUTES [TARGET ...]" >&2; exit 2; }
  jobs="$2"; shift 2
  case "$jobs" in ''|0|*[!0-9]*) echo "fuzz.sh: not a number of jobs: $jobs" >&2; exit 2 ;; esac
fi
if [ "${1:-}" = --campaign ]; then
  [ $# -ge 2 ] || { echo "usage: scripts/fuzz.sh [--jobs N] --campaign MINUTES [TARGET ...]" >&2; exit 2; }
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
# Only the targets to run are built (not the test programs of that build).
build_targets=()
for name in "${targets[@]}"; do build_targets+=(--target "fuzz_$name"); done
if ! CC=clang CXX=clang++ bash scripts/build.sh build-fuzz "${build_targets[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZB_FUZZERS=ON -DZB_SANITIZE=ON >build-fuzz/build.log 2>&1; then
  tail -n 30 build-fuzz/build.log; exit 1
fi
. scripts/env.sh
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

count() { find "$1" -maxdepth 1 -type f 2>/dev/null | wc -l; }

crashes=fuzz/findings/crashes
mkdir -p "$crashes"

# fuzz_one NAME: runs one target; its report goes to standard output, its
# campaign line to fuzz/findings/NAME.summary.  Fails when it finds something.
fuzz_one() {
  local name="$1" status=0
  local binary="build-fuzz/bin/fuzz_$name"
  local corpus="fuzz/corpus/$name"
  local work="fuzz/findings/$name"
  local log="fuzz/findings/$name.log"
  mkdir -p "$work" "$corpus"
  rm -f "fuzz/findings/$name.summary"
  cp -n "$corpus"/* "$work"/ 2>/dev/null || true
  local before_findings
  before_findings=$(find "$crashes" -maxdepth 1 -name "$name-*" | wc -l)
  echo "== fuzz $name for ${seconds}s (log in $log)"
  # -close_fd_mask=3: the targets' own diagnostics are not shown; libFuzzer
  # and the sanitizers still report.  -timeout: an input that takes more
  # than 10 s is a hang and a finding.
  local failed=0
  "$binary" -max_total_time="$seconds" -timeout=10 -close_fd_mask=3 -print_final_stats=1 \
    -artifact_prefix="$crashes/$name-" "$work" >"$log" 2>&1 || failed=1
  tail -n 12 "$log"
  local findings=$(( $(find "$crashes" -maxdepth 1 -name "$name-*" | wc -l) - before_findings ))
  if [ "$failed" = 1 ] || [ "$findings" -gt 0 ]; then
    echo "== fuzz $name FAILED"; status=1
  fi
  [ -n "$campaign" ] || return $status

  local executions features before added
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  features=$(grep -oE ' ft: [0-9]+' "$log" | tail -n 1 | tr -dc 0-9)
  before=$(count "$corpus")
  "$binary" -merge=1 -close_fd_mask=3 "$corpus" "$work" >"fuzz/findings/$name.merge.log" 2>&1 || {
    echo "== merge $name FAILED (fuzz/findings/$name.merge.log)"; status=1; }
  added=$(( $(count "$corpus") - before ))
  printf '%-32s %10s executions %6s features %4d new corpus files %2d findings\n' \
    "$name" "${executions:-?}" "${features:-?}" "$added" "$findings" >"fuzz/findings/$name.summary"
  return $status
}

status=0
if [ "$jobs" = 1 ]; then
  for name in "${targets[@]}"; do
    fuzz_one "$name" || status=1
  done
else
  # Each target's report is kept apart and printed when it ends.
  running=0
  for name in "${targets[@]}"; do
    if [ "$running" -ge "$jobs" ]; then
      wait -n || status=1
      running=$((running - 1))
    fi
    { rc=0; fuzz_one "$name" >"fuzz/findings/$name.report" 2>&1 || rc=$?
      cat "fuzz/findings/$name.report"; exit $rc; } &
    running=$((running + 1))
  done
  while [ "$running" -gt 0 ]; do
    wait -n || status=1
    running=$((running - 1))
  done
fi

if [ -n "$campaign" ]; then
  echo "== campaign of $campaign minutes per target"
  for name in "${targets[@]}"; do
    cat "fuzz/findings/$name.summary" 2>/dev/null || printf '%-32s did not finish\n' "$name"
  done
fi
exit $status
