#!/usr/bin/env bash
# benchmarks/block_vs_cp_cksum.sh [MEGABYTES] [RUNS]: times `zbsvc block
# pack` and `zbsvc block info` of one file against `cp` plus `cksum` of the
# same file (each run in a warm page cache), prints the medians and the
# ratio (zbsvc time / standard tools time; below 1 is faster).
# The input is generated deterministically; everything is removed afterwards.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
megabytes="${1:-512}"
runs="${2:-3}"
zbsvc="${ZBSVC:-$root/build/bin/zbsvc}"
[ -x "$zbsvc" ] || { echo "build zbsvc first (scripts/build.sh build)" >&2; exit 1; }
. "$root/scripts/env.sh"

work="$(mktemp -d /tmp/zbbench.XXXXXX)"
trap 'rm -rf "$work"' EXIT
avail_mb="$(df -Pm "$work" | awk 'NR==2 {print $4}')"
if [ "$avail_mb" -lt $((megabytes * 4)) ]; then
  echo "not enough room in /tmp for 4 x ${megabytes} MB" >&2; exit 1
fi
{ yes "zbzb block benchmark: 0123456789 abcdefghijklmnopqrstuvwxyz" || true; } | head -c "${megabytes}M" >"$work/in"

now() { date +%s.%N; }
# median of the arguments
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
# time_of COMMAND...: seconds taken by one run
time_of() { local t0 t1; t0=$(now); "$@" >/dev/null; t1=$(now); echo "$t1 - $t0" | bc -l; }

pack=(); info=(); cp_t=(); ck=()
for _ in $(seq "$runs"); do
  pack+=("$(time_of "$zbsvc" block pack -v 1.0.0 "$work/in" "$work/block")")
  info+=("$(time_of "$zbsvc" block info "$work/block")")
  cp_t+=("$(time_of cp "$work/in" "$work/copy")")
  ck+=("$(time_of cksum "$work/copy")")
  rm -f "$work/block" "$work/copy"
done
p=$(median "${pack[@]}"); i=$(median "${info[@]}")
c=$(median "${cp_t[@]}"); k=$(median "${ck[@]}")
printf 'file: %d MB, %d runs, medians in seconds\n' "$megabytes" "$runs"
printf '  zbsvc block pack  %8.3f\n  zbsvc block info  %8.3f\n' "$p" "$i"
printf '  cp                %8.3f\n  cksum             %8.3f\n' "$c" "$k"
printf 'ratio (pack + info) / (cp + cksum): %.2f\n' "$(echo "($p + $i) / ($c + $k)" | bc -l)"
