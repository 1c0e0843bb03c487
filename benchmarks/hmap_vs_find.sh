#!/usr/bin/env bash
# Include resolution through a header map against searching the directories.
#
# Generates a workspace of 40 include directories of 1,000 headers each,
# builds their header lists and one header map (once, timed), then resolves
# 100,000 header names (99,000 present, 1,000 missing; deterministic) with
# one "zbsvc find -map MAP -names FILE" run.  Baselines on the same input:
#   - one "find DIR1 ... DIR40 -name NAME" (a single name), the target to beat;
#   - "test -e DIR/NAME" over the directories in order, on a sample of the
#     names (the whole set would take minutes), scaled to 100,000.
# Checks that zbsvc find and the test -e search give the same paths on the
# sample, and prints medians and ratios (elapsed and CPU time, each run of
# zbsvc against the find run next to it, median with minimum and maximum).
#   benchmarks/hmap_vs_find.sh [BUILD_DIR] [RUNS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
runs="${2:-11}"
sample=5000
. "$root/scripts/env.sh"
zbsvc="$build/bin/zbsvc"
work="$(mktemp -d /tmp/zbhmap.XXXXXX)"
trap 'rm -rf "$work"' EXIT
ws="$work/ws"

python3 - "$ws" "$work/names" <<'PY'
import os, sys
ws, names = sys.argv[1], sys.argv[2]
for i in range(40):
    d = os.path.join(ws, "Fw%02d" % i, "PublicInterfaces")
    os.makedirs(d)
    for j in range(1000):
        open(os.path.join(d, "Fw%02dHeader%04d.h" % (i, j)), "w").close()
# A linear congruential sequence picks the names.
x = 12345
with open(names, "w") as out:
    for k in range(100000):
        x = (1103515245 * x + 12345) % 2147483648
        if k % 100 == 99:
            out.write("Missing%06d.h\n" % k)
        else:
            out.write("Fw%02dHeader%04d.h\n" % ((x >> 8) % 40, (x >> 16) % 1000))
print("workspace: 40 directories, 40000 headers; 100000 names")
PY
dirs=()
for i in $(seq -f %02g 0 39); do dirs+=("$ws/./Fw$i/PublicInterfaces"); done
path=$(IFS=:; echo "${dirs[*]}")

time_it() { # prints elapsed seconds of "$@" > /dev/null 2>&1
    local start end
    start=$(date +%s.%N)
    "$@" > /dev/null 2>&1 || true
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
}
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

build_map() {
    local lists=()
    for i in $(seq -f %02g 0 39); do
        "$zbsvc" hlist -ws "$ws" -o "$work/Fw$i.hl" "Fw$i/PublicInterfaces"
        lists+=("$ws=$work/Fw$i.hl")
    done
    "$zbsvc" hmap -o "$work/map" "${lists[@]}"
}
build=$(time_it build_map)
build_map
printf 'header lists and map (40 hlist + 1 hmap): %.4f s\n' "$build"

# The same answers as the search in order, on the sample.
head -n $sample "$work/names" > "$work/sample"
search_in_order() {
    while read -r name; do
        for d in "${dirs[@]}"; do
            if [ -e "$d/$name" ]; then echo "$d/$name"; break; fi
        done
    done < "$1"
}
search_in_order "$work/sample" > "$work/test.txt"
"$zbsvc" find -map "$work/map" -names "$work/sample" > "$work/zb.txt" 2> /dev/null || true
if ! cmp -s "$work/zb.txt" "$work/test.txt"; then
    echo "zbsvc find and the search in order differ" >&2
    exit 1
fi
echo "both resolve $(wc -l < "$work/zb.txt") of $sample sample names alike"
"$zbsvc" find -path "$path" -names "$work/sample" > "$work/zbpath.txt" 2> /dev/null || true
cmp -s "$work/zbpath.txt" "$work/test.txt" || { echo "zbsvc find -path differs" >&2; exit 1; }

. "$root/benchmarks/ratio_stats.sh"
for f in map path find; do : > "$work/$f.cpu"; : > "$work/$f.t"; done
: > "$work/test.t"
for _ in $(seq "$runs"); do
    zb_time_run "$work/map.cpu" "$work/map.t" "$zbsvc" find -map "$work/map" -names "$work/names"
    zb_time_run "$work/path.cpu" "$work/path.t" "$zbsvc" find -path "$path" -names "$work/names"
    zb_time_run "$work/find.cpu" "$work/find.t" find "${dirs[@]}" -name Fw39Header0999.h
done
time_it search_in_order "$work/sample" >> "$work/test.t"
zm=$(median < "$work/map.t")
zp=$(median < "$work/path.t")
fd=$(median < "$work/find.t")
ts=$(median < "$work/test.t")
tt=$(echo "$ts * 100000 / $sample" | bc -l)
printf 'zbsvc find -map, 100000 names:     median %.4f s over %d runs\n' "$zm" "$runs"
printf 'zbsvc find -path, 100000 names:    median %.4f s over %d runs\n' "$zp" "$runs"
printf 'find over the 40 dirs, 1 name:     median %.4f s over %d runs\n' "$fd" "$runs"
printf 'test -e in order, %d names:      %.4f s (scaled to 100000: %.2f s)\n' "$sample" "$ts" "$tt"
zb_ratios "$work/map.t" "$work/find.t" "$work/ratio.t"
zb_ratios "$work/map.cpu" "$work/find.cpu" "$work/ratio.cpu"
printf 'ratio find -map / one find over %d runs: %s\n' "$runs" "$(zb_spread "$work/ratio.t")"
printf 'the same in CPU time (user + system):  %s\n' "$(zb_spread "$work/ratio.cpu")"
printf 'ratio find -map / test -e (scaled): %.5f\n' "$(echo "$zm / $tt" | bc -l)"
