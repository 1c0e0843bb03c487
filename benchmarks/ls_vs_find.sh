#!/usr/bin/env bash
# Times "zbsvc ls -r -f TREE" against "find TREE -type f" on a generated tree
# of 100,000 files in 2,000 directories (40 directories of 49 subdirectories
# each, 50 files per directory), checks that both list the same files, and
# prints the medians and the ratio.
#   benchmarks/ls_vs_find.sh [BUILD_DIR] [RUNS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
runs="${2:-7}"
. "$root/scripts/env.sh"
zbsvc="$build/bin/zbsvc"
work="$(mktemp -d /tmp/zbls.XXXXXX)"
trap 'rm -rf "$work"' EXIT
tree="$work/tree"

python3 - "$tree" <<'PY'
import os, sys
root = sys.argv[1]
files = 0
dirs = []
for i in range(40):
    top = os.path.join(root, "d%02d" % i)
    dirs.append(top)
    for j in range(49):
        dirs.append(os.path.join(top, "s%02d" % j))
for d in dirs:
    os.makedirs(d, exist_ok=True)
    for k in range(50):
        open(os.path.join(d, "file%02d.c" % k), "w").close()
        files += 1
print("tree: %d directories, %d files" % (len(dirs), files))
PY

"$zbsvc" ls -r -f "$tree" | sort > "$work/zb.txt"
find "$tree" -type f | sort > "$work/find.txt"
if ! cmp -s "$work/zb.txt" "$work/find.txt"; then
    echo "the two listings differ" >&2
    exit 1
fi
echo "both list $(wc -l < "$work/zb.txt") files"

time_it() { # prints elapsed seconds of "$@" > /dev/null
    local start end
    start=$(date +%s.%N)
    "$@" > /dev/null
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
}
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

: > "$work/zb.t"
: > "$work/find.t"
for _ in $(seq "$runs"); do
    time_it "$zbsvc" ls -r -f "$tree" >> "$work/zb.t"
    time_it find "$tree" -type f >> "$work/find.t"
done
zb=$(median < "$work/zb.t")
fd=$(median < "$work/find.t")
printf 'zbsvc ls -r -f: median %.4f s over %d runs\n' "$zb" "$runs"
printf 'find -type f:   median %.4f s over %d runs\n' "$fd" "$runs"
printf 'ratio zbsvc/find: %.3f\n' "$(echo "$zb / $fd" | bc -l)"
