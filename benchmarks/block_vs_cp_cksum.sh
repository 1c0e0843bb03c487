#!/usr/bin/env bash
# benchmarks/block_vs_cp_cksum.sh [MEGABYTES] [RUNS]: times `zbsvc block
# pack` and `zbsvc block info` of one file against `cp` plus `cksum` of the
# same file (each run in a warm page cache), prints the medians (elapsed and
# CPU time) and the ratio (zbsvc time / standard tools time; below 1 is
# faster), of the medians and run by run (median, minimum, maximum) in
# elapsed and in CPU time.
# The input is generated deterministically; everything is removed afterwards.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
megabytes="${1:-512}"
runs="${2:-3}"
zbsvc="${ZBSVC:-$root/build/bin/zbsvc}"
[ -x "$zbsvc" ] || { echo "build zbsvc first (scripts/build.sh build)" >&2; exit 1; }
. "$root/scripts/env.sh"
. "$root/benchmarks/ratio_stats.sh"

work="$(mktemp -d /tmp/zbbench.XXXXXX)"
trap 'rm -rf "$work"' EXIT
avail_mb="$(df -Pm "$work" | awk 'NR==2 {print $4}')"
if [ "$avail_mb" -lt $((megabytes * 4)) ]; then
  echo "not enough room in /tmp for 4 x ${megabytes} MB" >&2; exit 1
fi
{ yes "zbzb block benchmark: 0123456789 abcdefghijklmnopqrstuvwxyz" || true; } | head -c "${megabytes}M" >"$work/in"

zb_start "$work/pack" "$work/info" "$work/cp" "$work/cksum"
for _ in $(seq "$runs"); do
  zb_time "$work/pack" "$zbsvc" block pack -v 1.0.0 "$work/in" "$work/block"
  [ -s "$work/block" ] || { echo "zbsvc block pack wrote no block" >&2; exit 1; }
  zb_time "$work/info" "$zbsvc" block info "$work/block"
  zb_time "$work/cp" cp "$work/in" "$work/copy"
  cmp -s "$work/in" "$work/copy" || { echo "cp did not copy the file" >&2; exit 1; }
  zb_time "$work/cksum" cksum "$work/copy"
  rm -f "$work/block" "$work/copy"
done
zb_add "$work/pack" "$work/info" "$work/zb"
zb_add "$work/cp" "$work/cksum" "$work/std"
printf 'file: %d MB, %d runs, medians\n' "$megabytes" "$runs"
printf '  zbsvc block pack  %s\n' "$(zb_medians "$work/pack")"
printf '  zbsvc block info  %s\n' "$(zb_medians "$work/info")"
printf '  cp                %s\n' "$(zb_medians "$work/cp")"
printf '  cksum             %s\n' "$(zb_medians "$work/cksum")"
p=$(zb_median "$work/pack.t"); i=$(zb_median "$work/info.t")
c=$(zb_median "$work/cp.t"); k=$(zb_median "$work/cksum.t")
printf 'ratio (pack + info) / (cp + cksum): %.2f\n' \
  "$(zb_div "$(awk "BEGIN { print $p + $i }")" "$(awk "BEGIN { print $c + $k }")")"
zb_ratio_spread 'ratio (pack + info) / (cp + cksum)' "$work/zb" "$work/std"
