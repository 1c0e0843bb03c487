#!/usr/bin/env bash
# Running many small commands two at a time: zbsvc run -j 2 -f LIST against
# make -j2 -k -Otarget (output kept per target, like zbsvc) and
# xargs -P2 -n1 sh -c (output not kept apart), on the same list.
#
#   benchmarks/run_vs_make.sh [BUILD_DIR] [RUNS] [JOBS]
#
# The list holds JOBS commands (default 500): four in five are "true", the
# others print one line of 2,048 bytes naming their job, and one in ten of
# those then fails.  The three tools must print the same lines (compared
# sorted: xargs keeps no order).  Runs alternate between the tools; the
# medians of the elapsed times and the ratios make/zbsvc and xargs/zbsvc are
# printed, the medians of the CPU times (user + system), and both ratios run
# by run (median, minimum, maximum) in elapsed and in CPU time; then the
# same for four times as many jobs, with zbsvc's cost per job at both sizes
# (flat when the cost does not grow with the list).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
runs="${2:-5}"
jobs="${3:-500}"
zbsvc="$build/bin/zbsvc"
[ -x "$zbsvc" ] || { echo "no $zbsvc: build first" >&2; exit 1; }
. "$root/scripts/env.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

calc() { awk "BEGIN { print $1 }"; }

generate() # N: the list and the makefile of N jobs
{
    awk -v n="$1" -v list="$work/list$1" -v mk="$work/Makefile$1" 'BEGIN {
        printf "all:" > mk
        for (i = 0; i < n; i++) printf " j%d", i > mk
        printf "\n.PHONY: all" > mk
        for (i = 0; i < n; i++) printf " j%d", i > mk
        printf "\n" > mk
        for (i = 0; i < n; i++) {
            if (i % 5 != 4) cmd = "true"
            else {
                cmd = sprintf("printf %c%%2047s\\n%c job%d", 39, 39, i)
                if (i % 50 == 49) cmd = cmd "; exit 1"
            }
            print cmd > list
            printf "j%d:\n\t@%s\n", i, cmd > mk
        }
    }'
}

run_zbsvc() { "$zbsvc" run -j 2 -f "$work/list$1" > "$work/out.zbsvc" 2> /dev/null || true; }
run_make() { make -s -j2 -k -Otarget -f "$work/Makefile$1" > "$work/out.make" 2> /dev/null || true; }
run_xargs() { xargs -P2 -n1 -d '\n' sh -c < "$work/list$1" > "$work/out.xargs" 2> /dev/null || true; }

. "$root/benchmarks/ratio_stats.sh"

declare -A per_job
for n in "$jobs" "$((jobs * 4))"; do
    generate "$n"
    for tool in zbsvc make xargs; do
        "run_$tool" "$n"
        sort "$work/out.$tool" > "$work/sorted.$tool"
    done
    lines=$(wc -l < "$work/sorted.zbsvc")
    [ "$lines" -eq $((n / 5)) ] || { echo "zbsvc printed $lines lines for $((n / 5)) jobs" >&2; exit 1; }
    for tool in make xargs; do
        cmp -s "$work/sorted.zbsvc" "$work/sorted.$tool" ||
            { echo "zbsvc and $tool print different bytes (N=$n)" >&2; exit 1; }
    done
    zb_start "$work/zbsvc" "$work/make" "$work/xargs"
    for ((r = 0; r < runs; r++)); do
        for tool in zbsvc make xargs; do
            zb_time "$work/$tool" "run_$tool" "$n"
        done
    done
    z=$(zb_median "$work/zbsvc.t")
    m=$(zb_median "$work/make.t")
    x=$(zb_median "$work/xargs.t")
    per_job[$n]=$(calc "$z * 1000 / $n")
    printf 'N=%-5d elapsed: zbsvc run %.3f s, make -Otarget %.3f s, xargs %.3f s; make/zbsvc %.2f, xargs/zbsvc %.2f\n' \
        "$n" "$z" "$m" "$x" "$(zb_median_ratio "$work/make" "$work/zbsvc")" "$(zb_median_ratio "$work/xargs" "$work/zbsvc")"
    printf 'N=%-5d CPU:     zbsvc run %.3f s, make -Otarget %.3f s, xargs %.3f s\n' \
        "$n" "$(zb_median "$work/zbsvc.cpu")" "$(zb_median "$work/make.cpu")" "$(zb_median "$work/xargs.cpu")"
    zb_ratio_spread "N=$n make/zbsvc" "$work/make" "$work/zbsvc"
    zb_ratio_spread "N=$n xargs/zbsvc" "$work/xargs" "$work/zbsvc"
done
printf 'zbsvc cost per job: %.3f ms at N=%d, %.3f ms at N=%d\n' \
    "${per_job[$jobs]}" "$jobs" "${per_job[$((jobs * 4))]}" "$((jobs * 4))"
