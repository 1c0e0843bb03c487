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
# holds "NAME SECONDS STATUS" for each.  scripts/mutation-sample.py reads
# them to run, for a mutant, only the tests that reach its line.
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

# Counts a run cannot write (a child as another user, under a file-size
# limit) are lost silently instead of said on the child's standard error.
export GCOV_ERROR_FILE=/dev/null
# The object directories of the library and of zbsvc, and the sources counted.
objects=("$dir/ZbUtilities/CMakeFiles/QORZbServices.dir" "$dir/ZbTools")
zero() { find "${objects[@]}" -name '*.gcda' -delete; }
tests() {
  ctest --test-dir "$dir" -N -LE valgrind -E '^check_packages$' |
    sed -n 's/^ *Test *#[0-9]*: //p'
}

if [ $perTest = 1 ]; then
  rm -rf "$dir/per-test"
  mkdir -p "$dir/per-test"
  tests | while read -r name; do
    zero
    start=$(date +%s.%N) status=passed
    ctest --test-dir "$dir" -R "^${name//./\\.}\$" >/dev/null 2>&1 || status=failed
    echo "$name $(echo "$(date +%s.%N) - $start" | bc) $status" >>"$dir/per-test/times"
    find "${objects[@]}" -name '*.gcda' -print0 |
      (cd "$dir" && xargs -0 -r gcov --json-format --stdout 2>/dev/null) |
      jq -r --arg root "$root/" '.files[] | select(.file | startswith($root)) |
        (.file | ltrimstr($root)) as $f | .lines[] | select(.count > 0) |
        "\($f):\(.line_number)"' | sort -u >"$dir/per-test/$name"
  done
  awk '$3 != "passed" { print "failed: " $1 }' "$dir/per-test/times"
  exit 0
fi

zero
ctest --test-dir "$dir" -LE valgrind -E '^check_packages$' -j "$(nproc)" >"$dir/ctest.log" 2>&1 ||
  echo "some tests failed: see $dir/ctest.log" >&2
cd "$root"
gcovr -r "$root" --object-directory "$dir" -j "$(nproc)" \
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
