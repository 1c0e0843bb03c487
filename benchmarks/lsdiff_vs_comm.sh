#!/usr/bin/env bash
# Times "zbsvc lsdiff OLD NEW" against sorting both listings with "sort" and
# comparing them with "comm -3" on generated listings of FILES lines
# (default 200,000; 2,000 changed, 1,000 added, 1,000 removed when FILES is
# at least 100,000), alternating runs; checks first that lsdiff finds exactly
# the generated differences; prints the medians (elapsed and CPU time) and
# the ratio, of the medians and run by run (median, minimum, maximum) in
# elapsed and in CPU time.
#   benchmarks/lsdiff_vs_comm.sh [BUILD_DIR] [RUNS] [FILES]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
runs="${2:-5}"
count="${3:-200000}"
. "$root/scripts/env.sh"
zbsvc="$build/bin/zbsvc"
work="$(mktemp -d /tmp/zblsdiff.XXXXXX)"
trap 'rm -rf "$work"' EXIT

# Every 100th file changed, every 200th (offset 1) removed, one added after
# every 200th (offset 3); the new listing in another order than the old.
awk -v n="$count" -v old="$work/old" -v new="$work/new" 'BEGIN {
    for (i = 0; i < n; ++i) {
        path = sprintf("Fw%d/dir%03d/file%06d.so", i % 7, i % 500, i)
        field = sprintf("%d@%d", (i * 7919) % 10000000, 1700000000 + i)
        printf "%s ./%s\n", field, path > old
        if (i % 200 == 1) continue
        if (i % 100 == 0) field = sprintf("%d@%d", (i * 7919) % 10000000 + 1, 1700000000 + i)
        if (i % 2) odd[++nodd] = field " " path; else even[++neven] = field " " path
        if (i % 200 == 3) odd[++nodd] = sprintf("1@1 New/added%06d", i)
    }
    for (k = 1; k <= nodd; ++k) print odd[k] > new
    for (k = 1; k <= neven; ++k) print even[k] > new
}'
echo "input: $(wc -l < "$work/old") and $(wc -l < "$work/new") lines"

"$zbsvc" lsdiff "$work/old" "$work/new" > "$work/zb.out"
summary="$(tail -n 1 "$work/zb.out")"
want="$((count / 200)) added, $((count / 200)) removed, $((count / 100)) changed, $((count - count / 200 - count / 100)) unchanged"
if [ "$summary" != "$want" ]; then
    echo "lsdiff found '$summary', expected '$want'" >&2
    exit 1
fi
echo "lsdiff: $summary"

. "$root/benchmarks/ratio_stats.sh"
zb_diff() { "$zbsvc" lsdiff "$work/old" "$work/new" > "$work/out.zb"; }
# The same comparison in text: paths first ("./" removed), sorted, then the
# lines found on one side only.
comm_diff() {
    LC_ALL=C sort <(awk '{ sub(/^\.\//, "", $2); print $2, $1 }' "$work/old") > "$work/old.s"
    LC_ALL=C sort <(awk '{ sub(/^\.\//, "", $2); print $2, $1 }' "$work/new") > "$work/new.s"
    LC_ALL=C comm -3 "$work/old.s" "$work/new.s" > "$work/out.comm"
}

zb_start "$work/zb_diff" "$work/comm_diff"
for _ in $(seq "$runs"); do
    for f in zb_diff comm_diff; do
        zb_time "$work/$f" "$f"
    done
done
printf 'zbsvc lsdiff:        median %s over %d runs\n' "$(zb_medians "$work/zb_diff")" "$runs"
printf 'sort + comm -3:      median %s\n' "$(zb_medians "$work/comm_diff")"
printf 'ratio lsdiff/comm:   %.2f\n' "$(zb_median_ratio "$work/zb_diff" "$work/comm_diff")"
zb_ratio_spread 'ratio lsdiff/comm' "$work/zb_diff" "$work/comm_diff"
