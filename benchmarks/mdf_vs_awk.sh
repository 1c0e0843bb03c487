#!/usr/bin/env bash
# Times "zbsvc mdf FILE SECTION ..." against an awk program printing the
# same sections' values (comments cut, leading blanks dropped, empty lines
# skipped) on a generated MDF V4 file of 200,000 lines (2,000 sections of
# about 100 values, comments, blank lines).  Both outputs are compared
# first; then the runs alternate and the medians (elapsed and CPU time) and
# their ratio are printed (awk time / zbsvc time: above 1, zbsvc is faster),
# of the medians and run by run (median, minimum, maximum) in elapsed and in
# CPU time.
#   benchmarks/mdf_vs_awk.sh [BUILD_DIR] [RUNS] [SECTIONS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
runs="${2:-9}"
sections="${3:-200}"
. "$root/scripts/env.sh"
zbsvc="$build/bin/zbsvc"
work="$(mktemp -d /tmp/zbmdf.XXXXXX)"
trap 'rm -rf "$work"' EXIT

file="$work/big.mdf"
python3 - "$file" <<'PY'
import random, sys
random.seed(17)
lines = ["/ Generated description: 2000 sections."]
n = 0
while len(lines) < 200000:
    lines.append("*  SEC%d  / section %d" % (n, n))
    for v in range(random.randint(80, 118)):
        if v % 10 == 3:
            lines.append("")
        elif v % 10 == 7:
            lines.append("   / a comment line")
        else:
            lines.append("   lib%d_%d.a  opt%d / value %d" % (n, v, v % 7, v))
    n += 1
with open(sys.argv[1], "w") as f:
    f.write("\n".join(lines[:200000]) + "\n")
PY
echo "input: $(wc -l <"$file") lines, $(stat -c %s "$file") bytes"

# Every tenth section, in file order (awk prints in file order).
names=()
for ((i = 0; i < sections; i++)); do names+=("SEC$((i * 10))"); done
printf '%s\n' "${names[@]}" >"$work/names"
awk_run() {
    awk -v names="$work/names" '
        BEGIN { while ((getline n < names) > 0) want["*" n] = 1 }
        {
            sub(/\/.*/, ""); sub(/^[ \t]+/, "")
            if ($0 == "") next
            if (substr($0, 1, 1) == "*") {
                name = substr($0, 2); sub(/^[ \t]+/, "", name); sub(/[ \t].*/, "", name)
                on = ("*" name) in want
                next
            }
            if (on) print
        }' "$file"
}
zbsvc_run() { "$zbsvc" mdf "$file" "${names[@]}"; }

awk_run >"$work/awk.out"
zbsvc_run >"$work/zbsvc.out"
if ! cmp -s "$work/awk.out" "$work/zbsvc.out"; then
    echo "outputs differ" >&2
    exit 1
fi
echo "output: $(wc -l <"$work/zbsvc.out") lines, the same from both"

. "$root/benchmarks/ratio_stats.sh"
zb_start "$work/zbsvc" "$work/awk"
for ((r = 0; r < runs; r++)); do
    zb_time "$work/zbsvc" zbsvc_run
    zb_time "$work/awk" awk_run
done
z=$(zb_median "$work/zbsvc.t")
a=$(zb_median "$work/awk.t")
echo "median of $runs runs: zbsvc mdf ${z}s, awk ${a}s"
echo "  zbsvc mdf: $(zb_medians "$work/zbsvc")"
echo "  awk:       $(zb_medians "$work/awk")"
printf 'ratio awk / zbsvc: %.2f\n' "$(zb_median_ratio "$work/awk" "$work/zbsvc")"
zb_ratio_spread 'ratio awk / zbsvc' "$work/awk" "$work/zbsvc"
