#!/usr/bin/env bash
# Times "zbsvc copytree SRC DST" against "cp -a SRC DST" on a generated tree
# of DIRS directories of 50 files (default 2,000 directories: 100,000
# files, with a link per directory), runs alternating, each into a fresh
# target; checks that the copy is the same as the source (zbsvc treediff
# -q -modes -links 2), and prints the medians and the speed ratio
# cp/copytree (target: at least 0.9).
# The trees are made under TMPDIR (default /tmp): TMPDIR=/dev/shm takes the
# disk, its journal and its discards out of the figure.
#   benchmarks/copytree_vs_cp.sh [BUILD_DIR] [RUNS] [DIRS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
runs="${2:-5}"
dirs="${3:-2000}"
. "$root/scripts/env.sh"
zbsvc="$build/bin/zbsvc"
work="$(mktemp -d "${TMPDIR:-/tmp}/zbcopytree.XXXXXX")"
trap 'rm -rf "$work"' EXIT

python3 - "$work/src" "$dirs" <<'PY'
import os, random, sys
root, count = sys.argv[1], int(sys.argv[2])
random.seed(99)
files = 0
for n in range(count):
    d = os.path.join(root, "d%02d" % (n // 50), "s%02d" % (n % 50))
    os.makedirs(d, exist_ok=True)
    for k in range(50):
        path = os.path.join(d, "file%02d.c" % k)
        with open(path, "w") as f:
            f.write("y" * random.randrange(0, 2000))
        os.chmod(path, 0o644 if k % 7 else 0o755)
        t = 1600000000 + random.randrange(0, 10000000)
        os.utime(path, (t, t))
        files += 1
    os.symlink("file00.c", os.path.join(d, "link"))
print("tree: %d directories, %d files" % (count, files))
PY

"$zbsvc" copytree "$work/src" "$work/check"
"$zbsvc" treediff -q -modes -links 2 "$work/src" "$work/check/src" ||
    { echo "the copy differs from the source" >&2; exit 1; }
rm -rf "$work/check"
echo "the copy is the same as the source"

. "$root/benchmarks/ratio_stats.sh"
: > "$work/zb.t"; : > "$work/zb.cpu"
: > "$work/cp.t"; : > "$work/cp.cpu"
# The tool that goes first alternates: the first copy of a run pays for
# what the file system still owes for the copies just deleted.
zb_copy() { zb_time_run "$work/zb.cpu" "$work/zb.t" "$zbsvc" copytree "$work/src" "$work/zb$i"; }
cp_copy() { zb_time_run "$work/cp.cpu" "$work/cp.t" cp -a "$work/src" "$work/cp$i"; }
for i in $(seq "$runs"); do
    mkdir "$work/zb$i" "$work/cp$i"
    if [ $((i % 2)) -eq 1 ]; then first=zb_copy second=cp_copy; else first=cp_copy second=zb_copy; fi
    sync
    $first
    sync
    $second
    rm -rf "$work/zb$i" "$work/cp$i"
    sync
done
zb=$(zb_median "$work/zb.t")
cp=$(zb_median "$work/cp.t")
printf 'zbsvc copytree: median %.4f s elapsed, %.4f s CPU over %d runs\n' "$zb" "$(zb_median "$work/zb.cpu")" "$runs"
printf 'cp -a:          median %.4f s elapsed, %.4f s CPU over %d runs\n' "$cp" "$(zb_median "$work/cp.cpu")" "$runs"
printf 'speed ratio copytree/cp (cp time / copytree time): %.3f (target at least 0.9)\n' \
    "$(zb_median_ratio "$work/cp" "$work/zb")"
zb_ratio_spread 'speed ratio copytree/cp' "$work/cp" "$work/zb"
