#!/usr/bin/env bash
# Reading and resolving a large description file: zbsvc macros -solve
# against GNU make reading the same definitions as simply-expanded variables
# (make -pn), on deterministically generated input.
#
#   benchmarks/macros_vs_make.sh [BUILD_DIR] [RUNS]
#
# The file holds N definitions in chains of 10 references
# (V7 = w7 $(V6), ..., V0 = w0 base), each name defined after the ones it
# names so that make's reading order resolves them too.  Prints the median of
# RUNS runs of each tool (CPU time, and elapsed time) for N = 100000 and
# 200000, the ratio make/zbsvc, and the growth of zbsvc's time from 100000 to
# 200000 definitions.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
runs="${2:-5}"
zbsvc="$build/bin/zbsvc"
[ -x "$zbsvc" ] || { echo "no $zbsvc: build first" >&2; exit 1; }
. "$root/scripts/env.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

generate() # N FILE OPERATOR
{
    awk -v n="$1" -v op="$3" 'BEGIN {
        for (i = 0; i < n; i++) {
            if (i % 10 == 0) printf "V%d %s w%d base%d\n", i, op, i, i % 7;
            else printf "V%d %s w%d $(V%d)\n", i, op, i, i - 1;
        }
        if (op == ":=") print "all: ;";
    }' > "$2"
}

calc() { awk "BEGIN { print $1 }"; }

# Median of RUNS runs of a command: "CPU WALL" in seconds, CPU being user +
# system time of the command (steadier than elapsed time on a busy machine).
median()
{
    local cpu=() wall=() line
    for ((r = 0; r < runs; r++)); do
        line=$( { TIMEFORMAT='%U %S %R'; time "$@" > /dev/null 2>&1; } 2>&1 )
        cpu+=("$(calc "$(echo "$line" | awk '{ print $1 + $2 }')")")
        wall+=("$(echo "$line" | awk '{ print $3 }')")
    done
    local m='{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'
    echo "$(printf '%s\n' "${cpu[@]}" | sort -g | awk "$m") $(printf '%s\n' "${wall[@]}" | sort -g | awk "$m")"
}

declare -A zb mk
for n in 100000 200000; do
    generate "$n" "$work/defs$n.mk" "="
    generate "$n" "$work/Makefile$n" ":="
    # both must agree on the values
    "$zbsvc" macros -solve "$work/defs$n.mk" | sed "s/='\(.*\)'$/ := \1/" | sort > "$work/zb.txt"
    make -pn -f "$work/Makefile$n" 2>/dev/null | grep -E '^V[0-9]+ := ' | sort > "$work/mk.txt"
    cmp -s "$work/zb.txt" "$work/mk.txt" || { echo "values differ for N=$n" >&2; exit 1; }
    read -r zb[$n] zbw <<< "$(median "$zbsvc" macros -solve "$work/defs$n.mk")"
    read -r mk[$n] mkw <<< "$(median make -pn -f "$work/Makefile$n")"
    printf 'N=%-7d CPU: zbsvc macros -solve %.3f s, make -pn %.3f s, make/zbsvc %.2f' \
        "$n" "${zb[$n]}" "${mk[$n]}" "$(calc "${mk[$n]} / ${zb[$n]}")"
    printf '   (elapsed: %.3f s, %.3f s, %.2f)\n' "$zbw" "$mkw" "$(calc "$mkw / $zbw")"
done
printf 'zbsvc CPU time 200000 / 100000: %.2f (linear: 2.0)\n' "$(calc "${zb[200000]} / ${zb[100000]}")"
