#!/usr/bin/env bash
# Times "zbsvc ls -r -f TREE" against "find TREE -type f" on a generated tree
# of 100,000 files in 2,000 directories (40 directories of 49 subdirectories
# each, 50 files per directory), checks that both list the same files, and
# prints the medians (elapsed and CPU time) and the ratio, of the medians and
# run by run (median, minimum, maximum) in elapsed and in CPU time.
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

. "$root/benchmarks/ratio_stats.sh"
zb_start "$work/zb" "$work/find"
for _ in $(seq "$runs"); do
    zb_time "$work/zb" "$zbsvc" ls -r -f "$tree"
    zb_time "$work/find" find "$tree" -type f
done
printf 'zbsvc ls -r -f: median %s over %d runs\n' "$(zb_medians "$work/zb")" "$runs"
printf 'find -type f:   median %s over %d runs\n' "$(zb_medians "$work/find")" "$runs"
printf 'ratio zbsvc/find: %.3f\n' "$(zb_median_ratio "$work/zb" "$work/find")"
zb_ratio_spread 'ratio zbsvc/find' "$work/zb" "$work/find"
