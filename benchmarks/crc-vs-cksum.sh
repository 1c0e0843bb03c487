#!/usr/bin/env bash
# zbsvc crc against cksum, alternately, on inputs of three shapes of SIZE_MB
# megabytes each (default 512), warm in the page cache:
#   large  one file written 4 MiB at a time: the page cache holds it in
#          large pieces and reading it costs little, the CRC's own speed
#          counts;
#   small  the same bytes written 4 KiB at a time: the cache holds it page
#          by page and the copies of reading cost most;
#   files  files of 1 MiB, one per megabyte: opening, reading and closing
#          each counts too.
# For each shape: checks zbsvc's CRCs against a computation of its own
# (zlib's reflected CRC-32 of the bit-reversed bytes, reversed) and the
# sizes against cksum's, then prints the ratio cksum / zbsvc (above 1:
# zbsvc is faster), of the median times and run by run (median, minimum,
# maximum) in elapsed and in CPU time; then the worst shape.  On the large
# file it prints the throughput of each way zbsvc can compute the CRC on
# this processor and of cksum; then it times zbsvc on twice the worst
# shape's input against the input itself (linear: at most 2.2).
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
runs="${3:-7}"
. "$root/scripts/env.sh"
zbsvc="$build/bin/zbsvc"
[ -x "$zbsvc" ] || { echo "no $zbsvc: build first" >&2; exit 1; }

free_mb=$(df -Pm "${TMPDIR:-/tmp}" | awk 'NR==2 {print $4}')
if [ "$free_mb" -lt $((size_mb * 6)) ]; then
  size_mb=$((free_mb / 8))
  echo "little space in ${TMPDIR:-/tmp}: using $size_mb MB" >&2
fi

dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
. "$root/benchmarks/ratio_stats.sh"

# SIZE megabytes of keystream on standard output.
keystream() {
  { openssl enc -aes-128-ctr -nosalt -K 000102030405060708090a0b0c0d0e0f \
    -iv 00000000000000000000000000000000 -in /dev/zero 2>/dev/null || true; } |
    head -c "$(($1 * 1024 * 1024))"
}
# make_shape SHAPE SIZE_MB DIR: the input of a shape, as the files of DIR.
make_shape() {
  mkdir -p "$3"
  case "$1" in
    large) keystream "$2" | dd of="$3/input" bs=4M iflag=fullblock status=none ;;
    small) keystream "$2" | dd of="$3/input" bs=4k iflag=fullblock status=none ;;
    files) keystream "$2" | (cd "$3" && split -b 1M -a 5 - part.) ;;
  esac
  # Written out, so that no writeback of the new pages runs during the timed
  # runs of one tool and not of the other; then read once, into the cache.
  sync
  cat "$3"/* > /dev/null
}
# The CRC-32/BZIP2 and size of each file named, as zbsvc crc prints them.
reference() {
  python3 - "$@" <<'PY'
import os, sys, zlib
flip = bytes(int(f"{b:08b}"[::-1], 2) for b in range(256))
for name in sys.argv[1:]:
    crc = 0
    with open(name, "rb") as f:
        while chunk := f.read(1 << 22):
            crc = zlib.crc32(chunk.translate(flip), crc)
    print("%08x %d %s" % (int(f"{crc:032b}"[::-1], 2), os.path.getsize(name), name))
PY
}
check() { # check SHAPE_DIR: zbsvc agrees with the reference and with cksum
  local files=("$1"/*)
  "$zbsvc" crc "${files[@]}" > "$dir/zb.out"
  reference "${files[@]}" > "$dir/ref.out"
  cmp -s "$dir/zb.out" "$dir/ref.out" || { echo "zbsvc crc differs from the reference on $1" >&2; exit 1; }
  cksum "${files[@]}" | awk '{ print $2, $3 }' > "$dir/ck.sizes"
  awk '{ print $2, $3 }' "$dir/zb.out" | cmp -s - "$dir/ck.sizes" ||
    { echo "zbsvc crc and cksum see other files or sizes in $1" >&2; exit 1; }
}
# ratio_of A B: the median of the run-by-run ratios A / B, in CPU time.
ratio_of() {
  zb_ratios "$1.cpu" "$2.cpu" "$1.r"
  zb_median "$1.r"
}

shapes=(large small files)
worst=""
worst_ratio=""
for shape in "${shapes[@]}"; do
  make_shape "$shape" "$size_mb" "$dir/$shape"
  check "$dir/$shape"
  [ "$shape" != large ] || large_crc=$(awk '{ print $1 }' "$dir/ref.out")
  files=("$dir/$shape"/*)
  zb_start "$dir/$shape.zb" "$dir/$shape.ck"
  for ((i = 0; i < runs; i++)); do
    zb_time "$dir/$shape.zb" "$zbsvc" crc "${files[@]}"
    zb_time "$dir/$shape.ck" cksum "${files[@]}"
  done
  printf '%s (%d MB in %d files): zbsvc crc %s; cksum %s\n' "$shape" "$size_mb" "${#files[@]}" \
    "$(zb_medians "$dir/$shape.zb")" "$(zb_medians "$dir/$shape.ck")"
  zb_ratio_spread "  ratio cksum/zbsvc" "$dir/$shape.ck" "$dir/$shape.zb"
  ratio=$(ratio_of "$dir/$shape.ck" "$dir/$shape.zb")
  if [ -z "$worst" ] || awk -v a="$ratio" -v b="$worst_ratio" 'BEGIN { exit !(a < b) }'; then
    worst="$shape"
    worst_ratio="$ratio"
  fi
  [ "$shape" = large ] || rm -rf "${dir:?}/$shape"
done
printf 'worst shape: %s, ratio cksum/zbsvc %.2f in CPU time (target: at least 1.5)\n' \
  "$worst" "$worst_ratio"

# Each way of computing, on the large file.
large="$dir/large/input"
for method in table slicing-by-8 folding-128 folding-512; do
  # A way this processor does not run is refused: passed over.
  "$zbsvc" crc -method "$method" "$large" > "$dir/m.out" 2> /dev/null || continue
  [ "$(awk '{ print $1 }' "$dir/m.out")" = "$large_crc" ] ||
    { echo "zbsvc crc -method $method gives another CRC" >&2; exit 1; }
  zb_start "$dir/m.$method"
  for ((i = 0; i < 3; i++)); do zb_time "$dir/m.$method" "$zbsvc" crc -method "$method" "$large"; done
  printf '  %-13s %7.0f MB/s elapsed, %7.0f MB/s of CPU time\n' "$method" \
    "$(zb_rate "$size_mb" "$dir/m.$method")" "$(zb_div "$size_mb" "$(zb_median "$dir/m.$method.cpu")")"
done
printf '  %-13s %7.0f MB/s elapsed, %7.0f MB/s of CPU time\n' cksum \
  "$(zb_rate "$size_mb" "$dir/large.ck")" "$(zb_div "$size_mb" "$(zb_median "$dir/large.ck.cpu")")"
rm -rf "${dir:?}/large"

# Twice the worst shape's input.
make_shape "$worst" "$size_mb" "$dir/once"
make_shape "$worst" "$((size_mb * 2))" "$dir/twice"
once=("$dir/once"/*)
twice=("$dir/twice"/*)
zb_start "$dir/once" "$dir/twice"
for ((i = 0; i < runs; i++)); do
  zb_time "$dir/once" "$zbsvc" crc "${once[@]}"
  zb_time "$dir/twice" "$zbsvc" crc "${twice[@]}"
done
zb_ratio_spread "twice the $worst input, time ratio" "$dir/twice" "$dir/once"
