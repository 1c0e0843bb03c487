#!/usr/bin/env bash
# scripts/check-packages-test.sh BUILD_DIR: runs scripts/check-packages.sh on
# a build with lists reduced row by row, and checks its status and the exact
# set of packages it names.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Rows: packages taken off the setup list | taken off the fresh list |
# expected status | packages the report must name (exactly these).
rows=(
  "||0|"
  "libfl-dev||1|libfl-dev"
  "flex libfl-dev libxml2-utils|libxml2-utils|1|flex libfl-dev libxml2-utils"
  "cmake ninja-build|cmake ninja-build|1|cmake ninja-build"
  # libgmock-dev depends on libgtest-dev: still allowed.
  "libgtest-dev|libgtest-dev|0|"
)

# without LIST NAMES...: LIST less the lines whose first word is one of NAMES.
without() {
  local list="$1"; shift
  awk -v drop=" $* " '{ n = $1; if ($1 == "apt") n = $2; sub(/:.*/, "", n) }
    index(drop, " " n " ") == 0' "$list"
}

failed=0 passed=0 n=0
for row in "${rows[@]}"; do
  n=$((n + 1))
  IFS='|' read -r off_setup off_fresh want_status want_names <<<"$row"
  without "$root/scripts/setup-packages.txt" $off_setup >"$work/setup.txt"
  without "$root/scripts/fresh-image-packages.txt" $off_fresh >"$work/fresh.txt"
  ZB_SETUP_PACKAGES="$work/setup.txt" ZB_FRESH_PACKAGES="$work/fresh.txt" \
    bash "$root/scripts/check-packages.sh" "$build" >"$work/out" 2>&1
  status=$?
  names="$(sed -n 's/^check-packages: \([^ ]*\) (for .*/\1/p' "$work/out" | sort | xargs)"
  want="$(printf '%s\n' $want_names | sort | xargs)"
  if [ "$status" -eq "$want_status" ] && [ "$names" = "$want" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "row $n (setup less '$off_setup', fresh less '$off_fresh'):" \
      "status $status, named '$names'; expected status $want_status, named '$want'"
    sed 's/^/  /' "$work/out"
  fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
