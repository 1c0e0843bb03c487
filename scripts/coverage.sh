#!/usr/bin/env bash
# scripts/coverage.sh [--per-test] [DIR]: line and branch coverage of the
# library and zbsvc by the whole test suite (run by hand, not in CI).
#
# Builds the tree this script belongs to with GCC's --coverage into DIR
# (default build-coverage beside the script's tree), runs every test but the
# valgrind copies, and prints one line per source file of the library and
# zbsvc (lines and branches covered, throw and unreachable branches left
# out), then the totals; the same table is kept in DIR/coverage.txt.
#
# With --per-test the tests run one at a time instead, and DIR/per-test/NAME
# lists the source lines (PATH:LINE, PATH relative to the tree) that test
# NAME executed, its own process and every child it ran; DIR/per-test/times
# holds "NAME SECONDS STATUS" for each, written once all have run.  scripts/mutation-sample.py reads
# them to run, for a mutant, only the tests that reach its line.  The counts
# add up over the tests, so the table that follows is the whole suite's.
#
# Tests that need the local Slurm cluster see SLURM_CONF when it is set.
# gcovr is installed with apt-get when missing.
set -euo pipefail
perTest=0
if [ "${1:-}" = --per-test ]; then perTest=1; shift; fi
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$(mkdir -p "${1:-$root/build-coverage}" && cd "${1:-$root/build-coverage}" && pwd)"

if ! command -v gcovr >/dev/null; then
  sudo=""; [ "$(id -u)" = 0 ] || sudo=sudo
  $sudo apt-get install -y --no-install-recommends gcovr >/dev/null
fi

flags=--coverage
bash "$root/scripts/build.sh" "$dir" -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_FLAGS=$flags -DCMAKE_CXX_FLAGS=$flags -DCMAKE_EXE_LINKER_FLAGS=$flags \
  -DCMAKE_SHARED_LINKER_FLAGS=$flags -DCMAKE_MODULE_LINKER_FLAGS=$flags >/dev/null

# Instrumented programs write their counts at every exit: time limits ten
# times those of a plain build.
find "$dir" -name CTestTestfile.cmake -exec sed -i -E 's/(TIMEOUT ")([0-9]+)"/\1\20"/' {} +
# The object directories of the library and of zbsvc, and the sources counted.
objects=("$dir/ZbUtilities/CMakeFiles/QORZbServices.dir" "$dir/ZbTools")
# Fresh counts, their files made by one run of zbsvc and writable by all, so
# that a child run as another user adds to them instead of failing.
zero() {
  find "$dir" -name '*.gcda' -delete
  (. "$root/scripts/env.sh" && "$dir/bin/zbsvc" --version) >/dev/null
  find "$dir" -name '*.gcda' -exec chmod a+rw {} +
}
tests() {
  ctest --test-dir "$dir" -N -LE valgrind -E '^check_packages$' |
    sed -n 's/^ *Test *#[0-9]*: //p'
}
# PATH:LINE COUNT for every line run so far, PATH relative to the tree (as
# the build's prefix map already writes the tree's own files).
counts() {
  find "${objects[@]}" -name '*.gcda' -print0 |
    (cd "$dir" && xargs -0 -r gcov --json-format --stdout 2>/dev/null) |
    jq -r --arg root "$root/" '.files[] |
      select(.file | startswith($root) or (startswith("/") | not)) |
      (.file | ltrimstr($root)) as $f | .lines[] | select(.count > 0) |
      "\($f):\(.line_number) \(.count)"' |
    awk '{ n[$1] += $2 } END { for (k in n) print k, n[k] }' | LC_ALL=C sort
}

if [ $perTest = 1 ]; then
  rm -rf "$dir/per-test"
  mkdir -p "$dir/per-test"
  zero
  counts >"$dir/per-test/.before"
  tests | while read -r name; do
    start=$(date +%s.%N) status=passed
    ctest --test-dir "$dir" -R "^${name//./\\.}\$" >/dev/null 2>&1 || status=failed
    echo "$name $(echo "$(date +%s.%N) - $start" | bc) $status" >>"$dir/per-test/.times"
    counts >"$dir/per-test/.after"
    LC_ALL=C join -a 1 "$dir/per-test/.after" "$dir/per-test/.before" |
      awk '$2 > $3 + 0 { print $1 }' >"$dir/per-test/$name"
    mv "$dir/per-test/.after" "$dir/per-test/.before"
  done
  # Complete: the list of times marks the lists as usable.
  mv "$dir/per-test/.times" "$dir/per-test/times"
  awk '$3 != "passed" { print "failed: " $1 }' "$dir/per-test/times"
else
  zero
  ctest --test-dir "$dir" -LE valgrind -E '^check_packages$' -j "$(nproc)" >"$dir/ctest.log" 2>&1 ||
    echo "some tests failed: see $dir/ctest.log" >&2
fi
cd "$root"
# Children that end at the same moment merge their counts into the same
# files without a lock, so a count may come out negative: gcovr skips that
# line and says so, instead of leaving no table at all.
gcovr -r "$root" --object-directory "$dir" -j "$(nproc)" --gcov-ignore-parse-errors \
  --filter 'ZbUtilities/(PublicInterfaces|[^/]+\.m)/' --filter 'ZbTools/' \
  --exclude-throw-branches --exclude-unreachable-branches \
  --json-summary "$dir/coverage.json" "${objects[@]}"
jq -r '(.files | sort_by(.filename)[] |
         [.filename, .line_covered, .line_total, .line_percent,
          .branch_covered, .branch_total, .branch_percent]),
       ["TOTAL", .line_covered, .line_total, .line_percent,
        .branch_covered, .branch_total, .branch_percent] | @tsv' "$dir/coverage.json" |
  awk -F'\t' 'BEGIN { printf "%-62s %15s %15s\n", "file", "lines", "branches" }
    { printf "%-62s %6d/%-5d %5.1f%% %6d/%-5d %5.1f%%\n", $1, $2, $3, $4, $5, $6, $7 }' |
  tee "$dir/coverage.txt"
