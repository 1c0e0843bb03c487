#!/usr/bin/env bash
# Times "zbsvc treediff A B" against "rsync -an --delete --itemize-changes
# A/ B/" on two generated trees of 100,000 files in 2,000 directories, B a
# copy of A with 1,000 files changed, 500 removed (only in A) and 500 added
# (only in B); checks that both find the same changed, new and deleted
# files, and prints the medians (elapsed and CPU time) and the ratio (target:
# at most 0.5), of the medians and run by run (median, minimum, maximum) in
# elapsed and in CPU time.  Also reports the peak memory of one treediff
# (both trees expanded).
#   benchmarks/treediff_vs_rsync.sh [BUILD_DIR] [RUNS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
runs="${2:-5}"
. "$root/scripts/env.sh"
zbsvc="$build/bin/zbsvc"
command -v rsync >/dev/null || { echo "rsync is needed (scripts/setup.sh installs it)" >&2; exit 1; }
work="$(mktemp -d /tmp/zbtreediff.XXXXXX)"
trap 'rm -rf "$work"' EXIT

python3 - "$work" <<'PY'
import os, random, shutil, subprocess, sys
work = sys.argv[1]
a, b = os.path.join(work, "A"), os.path.join(work, "B")
random.seed(1234)
files = []
for i in range(40):
    for j in range(50):
        d = os.path.join("d%02d" % i, "s%02d" % j) if j else "d%02d" % i
        os.makedirs(os.path.join(a, d), exist_ok=True)
        for k in range(50):
            path = os.path.join(d, "file%02d.c" % k)
            with open(os.path.join(a, path), "w") as f:
                f.write("x" * random.randrange(0, 200))
            t = 1600000000 + random.randrange(0, 10000000)
            os.utime(os.path.join(a, path), (t, t))
            files.append(path)
subprocess.run(["cp", "-a", a, b], check=True)
chosen = random.sample(files, 2000)
for path in chosen[:1000]:
    with open(os.path.join(b, path), "a") as f:
        f.write("changed")
for path in chosen[1000:1500]:
    os.unlink(os.path.join(b, path))
for n, path in enumerate(chosen[1500:]):
    with open(os.path.join(b, os.path.dirname(path), "added%03d.c" % n), "w") as f:
        f.write("new")
print("trees: 2 x %d files in 2000 directories; 1000 changed, 500 removed, 500 added" % len(files))
PY
a="$work/A"
b="$work/B"

# The same findings: changed files, files only in A, files only in B.
"$zbsvc" treediff "$a" "$b" |
    awk '$1 == "size" || $1 == "time" || $1 == "newer" { print "changed " $2; next }
         $1 == "added" { print "new " $2; next } $1 == "removed" { print "deleting " $2 }' |
    sort -u > "$work/zb.txt"
rsync -an --delete --itemize-changes "$a/" "$b/" |
    awk '/^>f\+\+\+/ { print "new " $2; next } /^>f/ { print "changed " $2; next }
         /^\*deleting/ { print "deleting " $2 }' |
    sort -u > "$work/rsync.txt"
if ! cmp -s "$work/zb.txt" "$work/rsync.txt"; then
    echo "treediff and rsync find different files:" >&2
    diff "$work/zb.txt" "$work/rsync.txt" | head >&2
    exit 1
fi
echo "both find: $(grep -c '^changed' "$work/zb.txt") changed, $(grep -c '^new' "$work/zb.txt") only in A, $(grep -c '^deleting' "$work/zb.txt") only in B"

. "$root/benchmarks/ratio_stats.sh"
zb_start "$work/zb" "$work/rsync"
for _ in $(seq "$runs"); do
    zb_time "$work/zb" "$zbsvc" treediff "$a" "$b"
    zb_time "$work/rsync" rsync -an --delete --itemize-changes "$a/" "$b/"
done
printf 'zbsvc treediff: median %s over %d runs\n' "$(zb_medians "$work/zb")" "$runs"
printf 'rsync -an:      median %s over %d runs\n' "$(zb_medians "$work/rsync")" "$runs"
printf 'ratio treediff/rsync: %.3f (target at most 0.5)\n' "$(zb_median_ratio "$work/zb" "$work/rsync")"
zb_ratio_spread 'ratio treediff/rsync' "$work/zb" "$work/rsync"
python3 - "$zbsvc" "$a" "$b" <<'PY'
import resource, subprocess, sys
subprocess.run([sys.argv[1], "treediff", sys.argv[2], sys.argv[3]], stdout=subprocess.DEVNULL, check=True)
print("peak memory of one treediff (two trees of 100,000 files): %.1f MB"
      % (resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024.0))
PY
