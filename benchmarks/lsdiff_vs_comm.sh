#!/usr/bin/env bash
# Times "zbsvc lsdiff OLD NEW" against sorting both listings with "sort" and
# comparing them with "comm -3" (LC_ALL=C), alternately, on listings of
# FILES lines (default 200,000) of four shapes:
#   sorted-few      both listings sorted by path, 1% of the files changed,
#                   0.5% removed, 0.5% added;
#   shuffled-few    the same files, each listing in an order of its own;
#   sorted-many     sorted, a third of the files changed, a fifth removed,
#                   a fifth added (long outputs);
#   shuffled-many   the same, shuffled.
# For each shape it checks that lsdiff finds the generated differences and
# the same ones as comm, then prints the ratio lsdiff / (sort + comm) (below
# 1: lsdiff is faster) of the median times and run by run (median, minimum,
# maximum) in elapsed and in CPU time; then the worst shape, and the time of
# lsdiff on twice the worst shape's input against the input itself (linear:
# at most 2.2).
#   benchmarks/lsdiff_vs_comm.sh [BUILD_DIR] [RUNS] [FILES]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
runs="${2:-7}"
count="${3:-200000}"
. "$root/scripts/env.sh"
zbsvc="$build/bin/zbsvc"
[ -x "$zbsvc" ] || { echo "no $zbsvc: build first" >&2; exit 1; }
work="$(mktemp -d /tmp/zblsdiff.XXXXXX)"
trap 'rm -rf "$work"' EXIT
. "$root/benchmarks/ratio_stats.sh"

# make_shape SHAPE FILES DIR: DIR/old and DIR/new, and DIR/want, the summary
# lsdiff must print.  Paths grow with the line number (fixed widths), so
# that the files in order are sorted; a shuffled listing is put in an order
# of a linear congruential sequence.  The old listing writes its paths with
# "./" in front.
make_shape() {
  mkdir -p "$3"
  awk -v n="$2" -v shape="$1" -v dir="$3" 'BEGIN {
    many = shape ~ /many/
    shuffled = shape ~ /shuffled/
    changed = many ? 3 : 100; removed = many ? 5 : 200; added = many ? 5 : 200
    for (i = 0; i < n; ++i) {
      path = sprintf("Fw%02d/Module%04d.m/src/file%07d.cpp", int(i * 40 / n), int(i / 97), i)
      field = sprintf("%d@%d", (i * 7919) % 10000000, 1700000000 + i)
      old[++nold] = field " ./" path
      if (i % removed == 1) { ++nremoved; continue }
      if (i % changed == 0) { field = sprintf("%d@%d", (i * 7919) % 10000000 + 1, 1700000000 + i); ++nchanged }
      else ++nsame
      new[++nnew] = field " " path
      if (i % added == 3) { new[++nnew] = sprintf("1@1 %s.new", path); ++nadded }
    }
    if (shuffled) { shuffle(old, nold, 12345); shuffle(new, nnew, 54321) }
    for (k = 1; k <= nold; ++k) print old[k] > (dir "/old")
    for (k = 1; k <= nnew; ++k) print new[k] > (dir "/new")
    printf "%d added, %d removed, %d changed, %d unchanged\n", nadded, nremoved, nchanged, nsame > (dir "/want")
  }
  function shuffle(a, size, seed,    k, j, t) {
    for (k = size; k > 1; --k) {
      seed = (seed * 1103515245 + 12345) % 2147483648
      j = 1 + int(seed / 2147483648 * k)
      t = a[k]; a[k] = a[j]; a[j] = t
    }
  }'
  cat "$3/old" "$3/new" > /dev/null
}

# The two ways of comparing.  comm: paths first ("./" removed), sorted,
# then the lines found on one side only.
zb_diff() { "$zbsvc" lsdiff "$1/old" "$1/new" > "$1/out.zb"; }
comm_diff() {
  LC_ALL=C sort <(awk '{ sub(/^\.\//, "", $2); print $2, $1 }' "$1/old") > "$1/old.s"
  LC_ALL=C sort <(awk '{ sub(/^\.\//, "", $2); print $2, $1 }' "$1/new") > "$1/new.s"
  LC_ALL=C comm -3 "$1/old.s" "$1/new.s" > "$1/out.comm"
}

# check DIR: lsdiff's summary is the one generated, and its findings are
# those of comm (a path on both sides of comm's output changed).
check() {
  zb_diff "$1"
  comm_diff "$1"
  [ "$(tail -n 1 "$1/out.zb")" = "$(cat "$1/want")" ] ||
    { echo "lsdiff found '$(tail -n 1 "$1/out.zb")', expected '$(cat "$1/want")'" >&2; exit 1; }
  awk -F '\t' '{ if (NF == 1) { split($1, f, " "); old[f[1]] = f[2] } else { split($2, f, " "); new[f[1]] = f[2] } }
    END {
      for (p in old) print (p in new) ? "changed " p " " old[p] " " new[p] : "removed " p
      for (p in new) if (!(p in old)) print "added   " p
    }' "$1/out.comm" | LC_ALL=C sort -b -k2,2 > "$1/comm.findings"
  head -n -1 "$1/out.zb" | cmp -s - "$1/comm.findings" ||
    { echo "lsdiff and comm disagree on $1" >&2; exit 1; }
}

shapes=(sorted-few shuffled-few sorted-many shuffled-many)
worst=""
worst_ratio=""
for shape in "${shapes[@]}"; do
  make_shape "$shape" "$count" "$work/$shape"
  check "$work/$shape"
  zb_start "$work/$shape.zb" "$work/$shape.comm"
  for ((i = 0; i < runs; i++)); do
    zb_time "$work/$shape.zb" zb_diff "$work/$shape"
    zb_time "$work/$shape.comm" comm_diff "$work/$shape"
  done
  printf '%s (%s): lsdiff %s; sort + comm %s\n' "$shape" "$(cat "$work/$shape/want")" \
    "$(zb_medians "$work/$shape.zb")" "$(zb_medians "$work/$shape.comm")"
  zb_ratio_spread "  ratio lsdiff/comm" "$work/$shape.zb" "$work/$shape.comm"
  zb_ratios "$work/$shape.zb.cpu" "$work/$shape.comm.cpu" "$work/$shape.r"
  ratio=$(zb_median "$work/$shape.r")
  if [ -z "$worst" ] || awk -v a="$ratio" -v b="$worst_ratio" 'BEGIN { exit !(a > b) }'; then
    worst="$shape"
    worst_ratio="$ratio"
  fi
  rm -rf "${work:?}/$shape"
done
printf 'worst shape: %s, ratio lsdiff/comm %.2f in CPU time (target: at most 0.6)\n' \
  "$worst" "$worst_ratio"

make_shape "$worst" "$count" "$work/once"
make_shape "$worst" "$((count * 2))" "$work/twice"
check "$work/twice"
zb_start "$work/once" "$work/twice"
for ((i = 0; i < runs; i++)); do
  zb_time "$work/once" zb_diff "$work/once"
  zb_time "$work/twice" zb_diff "$work/twice"
done
zb_ratio_spread "twice the $worst input, time ratio" "$work/twice" "$work/once"
