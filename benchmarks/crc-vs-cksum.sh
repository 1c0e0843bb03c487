#!/usr/bin/env bash
# zbsvc crc against cksum on the same file, alternately, several runs each;
# prints the median wall-clock times and their ratio (cksum / zbsvc: above 1
# means zbsvc is faster).
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

seconds() { # command... -> wall-clock seconds
  local start end
  start=$(date +%s.%N)
  "$@" > /dev/null
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

zb=() ck=()
for ((i = 0; i < runs; i++)); do
  zb+=("$(seconds "$zbsvc" crc "$file")")
  ck+=("$(seconds cksum "$file")")
done
zb_median=$(printf '%s\n' "${zb[@]}" | median)
ck_median=$(printf '%s\n' "${ck[@]}" | median)
printf 'input: %d MB, %d runs each\n' "$size_mb" "$runs"
printf 'zbsvc crc : median %.3f s (%.0f MB/s)\n' "$zb_median" "$(echo "$size_mb / $zb_median" | bc -l)"
printf 'cksum     : median %.3f s (%.0f MB/s)\n' "$ck_median" "$(echo "$size_mb / $ck_median" | bc -l)"
printf 'ratio cksum/zbsvc: %.2f\n' "$(echo "$ck_median / $zb_median" | bc -l)"
