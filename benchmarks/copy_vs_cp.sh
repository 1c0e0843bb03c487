#!/usr/bin/env bash
# Times zbCopyFile (through benchmarks/zbCopyFileTool) against cp on the same
# file (the copy checked first), prints the medians (elapsed and CPU time),
# the throughputs and the ratio of throughputs, of the medians and run by
# run (median, minimum, maximum) in elapsed and in CPU time.
#   benchmarks/copy_vs_cp.sh [BUILD_DIR] [SIZE_MB] [RUNS]
# BUILD_DIR must be configured with -DZB_BENCHMARKS=ON.  The file is made in
# /tmp and removed at the end; check the free space first (df -h /tmp).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-bench}"
size_mb="${2:-1024}"
runs="${3:-5}"
. "$root/scripts/env.sh"
tool="$build/bin/zbCopyFileTool"
[ -x "$tool" ] || { echo "build $tool first (-DZB_BENCHMARKS=ON)" >&2; exit 2; }

avail_mb=$(df -Pm /tmp | awk 'NR == 2 { print $4 }')
if [ "$avail_mb" -lt $((size_mb * 3)) ]; then
    echo "not enough room in /tmp for $size_mb MB (x3): $avail_mb MB free" >&2
    exit 2
fi
work="$(mktemp -d /tmp/zbcp.XXXXXX)"
trap 'rm -rf "$work"' EXIT
# Deterministic, incompressible-looking contents.
python3 - "$work/source" "$size_mb" <<'PY'
import hashlib, sys
block = b"".join(hashlib.sha256(i.to_bytes(4, "little")).digest() for i in range(32768))
with open(sys.argv[1], "wb") as f:
    for _ in range(int(sys.argv[2])):
        f.write(block)
PY
sync

. "$root/benchmarks/ratio_stats.sh"
"$tool" "$work/source" "$work/zb.out"
cmp "$work/source" "$work/zb.out"
rm -f "$work/zb.out"; sync

zb_start "$work/zb" "$work/cp"
run_zb() {
    zb_time "$work/zb" "$tool" "$work/source" "$work/zb.out"
    rm -f "$work/zb.out"; sync
}
run_cp() {
    zb_time "$work/cp" cp "$work/source" "$work/cp.out"
    rm -f "$work/cp.out"; sync
}
# The order alternates, so that neither always follows the other's writeback.
for i in $(seq "$runs"); do
    if [ $((i % 2)) -eq 1 ]; then run_zb; run_cp; else run_cp; run_zb; fi
done
echo "zbCopyFile runs (s): $(awk '{ printf "%.3f ", $1 }' "$work/zb.t")"
echo "cp runs (s):         $(awk '{ printf "%.3f ", $1 }' "$work/cp.t")"
printf 'zbCopyFile: median %s, %.0f MB/s\n' "$(zb_medians "$work/zb")" "$(zb_rate "$size_mb" "$work/zb")"
printf 'cp:         median %s, %.0f MB/s\n' "$(zb_medians "$work/cp")" "$(zb_rate "$size_mb" "$work/cp")"
printf 'throughput ratio zbCopyFile/cp: %.3f\n' "$(zb_median_ratio "$work/cp" "$work/zb")"
zb_ratio_spread 'throughput ratio zbCopyFile/cp' "$work/cp" "$work/zb"
