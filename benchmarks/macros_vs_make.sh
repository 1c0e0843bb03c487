#!/usr/bin/env bash
# Reading and resolving a large description file: zbsvc macros -solve
# against make reading the same definitions as simply-expanded variables
# (make -pn), on deterministically generated input.
#
#   benchmarks/macros_vs_make.sh [BUILD_DIR] [RUNS]
#
# The file holds N definitions (about 52 bytes each: 5 MB for 100000) in
# chains of 10 references (V1 = w1 $(V0), ..., V9 = w9 $(V8)), each name
# defined after the ones it names so that make's reading order resolves them
# too, with single- and double-quoted text, backslash continuations, comment
# lines and trailing comments.  Runs the two tools in turn RUNS times for
# N = 100000 and 200000 and prints the medians (CPU time, and elapsed time),
# the ratio make/zbsvc run by run as its median with its minimum and
# maximum, zbsvc's peak memory against the input size, and the growth of
# zbsvc's time from 100000 to 400000 definitions (zbsvc alone, each run of
# 400000 next to one of 100000, the ratio taken pair by pair).
#
# Both tools must give the same values.  They mean the same by everything
# the file holds except two things, which the comparison strips: zbsvc takes
# a pair of single quotes around a whole value away where make keeps them
# (all single quotes are deleted on both sides), and make keeps the blank
# before a trailing comment (trailing blanks are deleted; only the last
# definition of a chain has one, so no reference carries it).
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
        print "# generated definitions: chains of 10 references";
        for (i = 0; i < n; i++) {
            k = i % 10;
            if (i % 4 == 0)
                printf "# definition %d of the chain %d, with some words of comment to read\n", i, int(i / 10);
            if (k == 0)
                printf "V%d %s \047w%d base%d \"quoted  text\"\047\n", i, op, i, i % 7;
            else if (k == 3)
                printf "V%d %s w%d \"q  %d\" $(V%d)\n", i, op, i, i, i - 1;
            else if (k == 5)
                printf "V%d %s w%d \\\n\tx%d $(V%d) \\\n    y%d\n", i, op, i, i, i - 1, i;
            else if (k == 7)
                printf "V%d %s \047w%d\047 $(V%d) \047a b\047\n", i, op, i, i - 1;
            else if (k == 9)
                printf "V%d %s w%d $(V%d) # the end of the chain %d\n", i, op, i, i - 1, int(i / 10);
            else
                printf "V%d %s w%d $(V%d)\n", i, op, i, i - 1;
        }
        if (op == ":=") print "all: ;";
    }' > "$2"
}

calc() { awk "BEGIN { print $1 }"; }
. "$root/benchmarks/ratio_stats.sh"

# The 400000 runs alternate with the 100000 ones: the growth is measured
# pair by pair, under the same load of the machine.
generate 400000 "$work/defs400000.mk" "="
: > "$work/zb400000.cpu"; : > "$work/zb400000.wall"
for n in 100000 200000 400000; do
    [ "$n" -eq 400000 ] || generate "$n" "$work/defs$n.mk" "="
    [ "$n" -eq 400000 ] || { : > "$work/zb$n.cpu"; : > "$work/zb$n.wall"; }
    if [ "$n" -le 200000 ]; then
        generate "$n" "$work/Makefile$n" ":="
        # both must agree on the values
        "$zbsvc" macros -solve "$work/defs$n.mk" | sed 's/^\([^=]*\)=/\1 := /' | tr -d "'" |
            sort > "$work/zb.txt"
        make -pn -f "$work/Makefile$n" 2>/dev/null | grep -E '^V[0-9]+ := ' | tr -d "'" |
            sed 's/[ \t]*$//' | sort > "$work/mk.txt"
        [ "$(wc -l < "$work/zb.txt")" -eq "$n" ] || { echo "zbsvc does not give $n values" >&2; exit 1; }
        cmp -s "$work/zb.txt" "$work/mk.txt" || { echo "values differ for N=$n" >&2; exit 1; }
        : > "$work/mk$n.cpu"; : > "$work/mk$n.wall"
    fi
    # Alternating runs: each ratio compares two neighbouring runs.
    for ((r = 0; r < runs && n != 400000; r++)); do
        zb_time_run "$work/zb$n.cpu" "$work/zb$n.wall" "$zbsvc" macros -solve "$work/defs$n.mk"
        [ "$n" -eq 100000 ] && zb_time_run "$work/zb400000.cpu" "$work/zb400000.wall" \
            "$zbsvc" macros -solve "$work/defs400000.mk"
        zb_time_run "$work/mk$n.cpu" "$work/mk$n.wall" make -pn -f "$work/Makefile$n"
    done
    zbc=$(zb_median "$work/zb$n.cpu"); zbw=$(zb_median "$work/zb$n.wall")
    if [ "$n" -le 200000 ]; then
        zb_ratios "$work/mk$n.cpu" "$work/zb$n.cpu" "$work/r.cpu"
        zb_ratios "$work/mk$n.wall" "$work/zb$n.wall" "$work/r.wall"
        printf 'N=%-7d zbsvc macros -solve: CPU %.3f s, elapsed %.3f s; make -pn: CPU %.3f s, elapsed %.3f s\n' \
            "$n" "$zbc" "$zbw" "$(zb_median "$work/mk$n.cpu")" "$(zb_median "$work/mk$n.wall")"
        printf '          make/zbsvc over %d runs: CPU %s, elapsed %s\n' \
            "$runs" "$(zb_spread "$work/r.cpu")" "$(zb_spread "$work/r.wall")"
    else
        printf 'N=%-7d zbsvc macros -solve: CPU %.3f s, elapsed %.3f s\n' "$n" "$zbc" "$zbw"
    fi
done
# Peak memory (maximum resident set) against the size of the input, and
# the same without what the process holds before reading anything (its
# libraries and start-up: the peak of a run over a one-line file).
printf 'E = e\n' > "$work/one.mk"
peak_kb() { /usr/bin/time -f %M "$zbsvc" macros -solve "$1" 2>&1 > /dev/null | tail -n 1; }
base=$(peak_kb "$work/one.mk")
for n in 100000 400000; do
    peak=$(peak_kb "$work/defs$n.mk")
    input=$(($(stat -c %s "$work/defs$n.mk") / 1024))
    printf 'zbsvc peak memory (N=%d): %d kB for %d kB of input: %.2f times the input, %.2f without the %d kB of an empty run\n' \
        "$n" "$peak" "$input" "$(calc "$peak / $input")" "$(calc "($peak - $base) / $input")" "$base"
done
zb_ratios "$work/zb400000.cpu" "$work/zb100000.cpu" "$work/g.cpu"
zb_ratios "$work/zb400000.wall" "$work/zb100000.wall" "$work/g.wall"
printf 'linearity, zbsvc 400000 / 100000 run by run (linear: 4.0): CPU %s, elapsed %s\n' \
    "$(zb_spread "$work/g.cpu")" "$(zb_spread "$work/g.wall")"
printf 'linearity of the medians, CPU time 200000 / 100000: %.2f (linear: 2.0)\n' \
    "$(calc "$(zb_median "$work/zb200000.cpu") / $(zb_median "$work/zb100000.cpu")")"
