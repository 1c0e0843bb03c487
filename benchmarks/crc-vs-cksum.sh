#!/usr/bin/env bash
# zbsvc crc against cksum on the same file, alternately, several runs each;
# prints the median elapsed and CPU times and their ratio (cksum / zbsvc:
# above 1 means zbsvc is faster), of the medians and run by run (median,
# minimum, maximum) in elapsed and in CPU time.
#
#   benchmarks/crc-vs-cksum.sh [BUILD_DIR] [SIZE_MB] [RUNS]
#
# The input is generated deterministically (AES-CTR keystream of a fixed
# key) into a temporary directory, read once to be in the page cache, and
# removed at the end.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
size_mb="${2:-512}"
runs="${3:-5}"
. "$root/scripts/env.sh"
zbsvc="$build/bin/zbsvc"
[ -x "$zbsvc" ] || { echo "no $zbsvc: build first" >&2; exit 1; }

free_mb=$(df -Pm "${TMPDIR:-/tmp}" | awk 'NR==2 {print $4}')
if [ "$free_mb" -lt $((size_mb * 2)) ]; then
  size_mb=$((free_mb / 4))
  echo "little space in ${TMPDIR:-/tmp}: using $size_mb MB" >&2
fi

dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
file="$dir/input.bin"
# openssl ends on a broken pipe once head has its bytes.
{ openssl enc -aes-128-ctr -nosalt -K 000102030405060708090a0b0c0d0e0f \
  -iv 00000000000000000000000000000000 -in /dev/zero 2>/dev/null || true; } |
  head -c "$((size_mb * 1024 * 1024))" > "$file"
cat "$file" > /dev/null

. "$root/benchmarks/ratio_stats.sh"
"$zbsvc" crc "$file" > "$dir/zb.out"
cksum "$file" > "$dir/cksum.out"
[ -s "$dir/zb.out" ] && [ -s "$dir/cksum.out" ] || { echo "no checksum printed" >&2; exit 1; }

zb_start "$dir/zb" "$dir/ck"
for ((i = 0; i < runs; i++)); do
  zb_time "$dir/zb" "$zbsvc" crc "$file"
  zb_time "$dir/ck" cksum "$file"
done
printf 'input: %d MB, %d runs each\n' "$size_mb" "$runs"
printf 'zbsvc crc : median %s (%.0f MB/s)\n' "$(zb_medians "$dir/zb")" "$(zb_rate "$size_mb" "$dir/zb")"
printf 'cksum     : median %s (%.0f MB/s)\n' "$(zb_medians "$dir/ck")" "$(zb_rate "$size_mb" "$dir/ck")"
printf 'ratio cksum/zbsvc: %.2f\n' "$(zb_median_ratio "$dir/ck" "$dir/zb")"
zb_ratio_spread 'ratio cksum/zbsvc' "$dir/ck" "$dir/zb"
