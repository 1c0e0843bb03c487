#!/usr/bin/env bash
# Times zbCopyFile (through benchmarks/zbCopyFileTool) against cp on the same
# file, prints the medians, the throughputs and the ratio of throughputs.
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

time_it() {
    local start end
    start=$(date +%s.%N)
    "$@"
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
}
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

: > "$work/zb.t"
: > "$work/cp.t"
run_zb() {
    time_it "$tool" "$work/source" "$work/zb.out" >> "$work/zb.t"
    rm -f "$work/zb.out"; sync
}
run_cp() {
    time_it cp "$work/source" "$work/cp.out" >> "$work/cp.t"
    rm -f "$work/cp.out"; sync
}
# The order alternates, so that neither always follows the other's writeback.
for i in $(seq "$runs"); do
    if [ $((i % 2)) -eq 1 ]; then run_zb; run_cp; else run_cp; run_zb; fi
done
"$tool" "$work/source" "$work/zb.out"
cmp "$work/source" "$work/zb.out"
echo "zbCopyFile runs (s): $(printf '%.3f ' $(cat "$work/zb.t"))"
echo "cp runs (s):         $(printf '%.3f ' $(cat "$work/cp.t"))"
zb=$(median < "$work/zb.t")
cpt=$(median < "$work/cp.t")
printf 'zbCopyFile: median %.3f s, %.0f MB/s\n' "$zb" "$(echo "$size_mb / $zb" | bc -l)"
printf 'cp:         median %.3f s, %.0f MB/s\n' "$cpt" "$(echo "$size_mb / $cpt" | bc -l)"
printf 'throughput ratio zbCopyFile/cp: %.3f\n' "$(echo "$cpt / $zb" | bc -l)"
