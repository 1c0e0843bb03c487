#!/usr/bin/env bash
# Times "zbsvc rtv merge -o OUT IN" (read, merge by name, write beside the
# target and rename) against "sort -u -t'|' -k1,1 IN > OUT" (read, keep one
# line per name, write) on a generated runtime-view data file of ELEMENTS
# records (default 50,000), alternating runs; checks that the merge gives
# back the same records and that a second merge of its own output gives the
# same bytes; prints the medians (elapsed and CPU time) and the ratio, and
# the same for "zbsvc rtv list" against "cat" of the same file; each ratio
# of the medians and run by run (median, minimum, maximum) in elapsed and in
# CPU time.
#   benchmarks/rtv_merge_vs_sort.sh [BUILD_DIR] [RUNS] [ELEMENTS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
runs="${2:-7}"
count="${3:-50000}"
. "$root/scripts/env.sh"
zbsvc="$build/bin/zbsvc"
work="$(mktemp -d /tmp/zbrtv.XXXXXX)"
trap 'rm -rf "$work"' EXIT

awk -v n="$count" 'BEGIN {
    split("RTV BTV INT DAT IDA", types, " ")
    print "!<zbRTViewData> v1.0.0"
    for (i = 0; i < n; ++i) {
        name = sprintf("Fw%02d/%s/file%06d.so", i % 97, (i % 2) ? "lib" : "bin", i)
        printf "%s/%03d/%s %s|code/%s\n", types[i % 5 + 1], i % 1000, (i % 3) ? "CUS" : "QXI", name, name
    }
}' > "$work/in.data"
echo "input: $(($(wc -l < "$work/in.data") - 1)) records, $(wc -c < "$work/in.data") bytes"

"$zbsvc" rtv merge -o "$work/zb.data" "$work/in.data" > /dev/null
"$zbsvc" rtv merge -o "$work/zb2.data" "$work/zb.data" > /dev/null
if ! cmp -s "$work/zb.data" "$work/zb2.data"; then
    echo "a merge of the merged file changed its bytes" >&2
    exit 1
fi
if ! cmp -s <(tail -n +2 "$work/in.data" | sort) <(tail -n +2 "$work/zb.data" | sort); then
    echo "the merge did not keep the records" >&2
    exit 1
fi
echo "round trip: same records, same bytes"

. "$root/benchmarks/ratio_stats.sh"
zb_merge() { rm -f "$work/out.data"; "$zbsvc" rtv merge -o "$work/out.data" "$work/in.data" > /dev/null; }
sort_merge() { rm -f "$work/out.txt"; sort -u -t'|' -k1,1 "$work/in.data" > "$work/out.txt"; }
zb_list() { "$zbsvc" rtv list "$work/zb.data" > /dev/null; }
cat_list() { cat "$work/zb.data" > /dev/null; }

zb_start "$work/zb_merge" "$work/sort_merge" "$work/zb_list" "$work/cat_list"
for _ in $(seq "$runs"); do
    for f in zb_merge sort_merge zb_list cat_list; do
        zb_time "$work/$f" "$f"
    done
done
printf 'zbsvc rtv merge:  median %s over %d runs\n' "$(zb_medians "$work/zb_merge")" "$runs"
printf 'sort -u:          median %s\n' "$(zb_medians "$work/sort_merge")"
printf 'ratio merge/sort: %.2f\n' "$(zb_median_ratio "$work/zb_merge" "$work/sort_merge")"
zb_ratio_spread 'ratio merge/sort' "$work/zb_merge" "$work/sort_merge"
printf 'zbsvc rtv list:   median %s\n' "$(zb_medians "$work/zb_list")"
printf 'cat:              median %s\n' "$(zb_medians "$work/cat_list")"
printf 'ratio list/cat:   %.2f\n' "$(zb_median_ratio "$work/zb_list" "$work/cat_list")"
zb_ratio_spread 'ratio list/cat' "$work/zb_list" "$work/cat_list"
