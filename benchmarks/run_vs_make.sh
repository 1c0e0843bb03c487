#!/usr/bin/env bash
# Running many commands two at a time: zbsvc run -j 2 -f LIST against
# make -j2 -k -Otarget (output kept per target, like zbsvc) on the same
# commands, in lists of three shapes that pull in different directions:
#   trivial  every command "true": the time is the cost per command (start,
#            capture, wait)
#   mixed    four in five "true", the others printing one line of 2,048
#            bytes naming their job, one in ten of those then failing: the
#            time goes to output and failures too
#   long     one command in eighty "sleep 0.2", the others "true" or
#            printing a short line: a runner must keep the other slot busy
#            while a long command holds one
# For each shape it checks that both tools print the same lines (compared
# sorted) and agree on failure, runs them alternately RUNS times, and
# prints the medians (elapsed and CPU time) and the ratio zbsvc/make run by
# run (median, minimum, maximum); then the worst shape's ratio, and zbsvc
# on twice the worst shape's list against the list itself (pair by pair:
# linear growth is 2).
# On the trivial shape a third row, "floor", starts the same commands two at
# a time with the smallest runner there is (posix_spawnp, then wait for
# either, no shell, nothing captured, compiled here with cc): no runner that
# starts each command can take less, so zbsvc/make cannot go below
# floor/make.
#   benchmarks/run_vs_make.sh [BUILD_DIR] [RUNS] [JOBS] [REFERENCE_ZBSVC]
# JOBS is the length of each list (default 500).  With REFERENCE_ZBSVC (a
# zbsvc built before a change), zbsvc must also print the lines and give
# the status of the reference on every shape.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
runs="${2:-5}"
jobs="${3:-500}"
reference="${4:-}"
zbsvc="$build/bin/zbsvc"
[ -x "$zbsvc" ] || { echo "no $zbsvc: build first" >&2; exit 1; }
. "$root/scripts/env.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
shapes="trivial mixed long"

generate() # SHAPE N NAME: the list NAME.list and the makefile NAME.mk
{
    awk -v shape="$1" -v n="$2" -v list="$work/$3.list" -v mk="$work/$3.mk" 'BEGIN {
        printf "all:" > mk
        for (i = 0; i < n; i++) printf " j%d", i > mk
        printf "\n.PHONY: all" > mk
        for (i = 0; i < n; i++) printf " j%d", i > mk
        printf "\n" > mk
        for (i = 0; i < n; i++) {
            cmd = "true"
            if (shape == "mixed" && i % 5 == 4) {
                cmd = sprintf("printf %c%%2047s\\n%c job%d", 39, 39, i)
                if (i % 50 == 49) cmd = cmd "; exit 1"
            }
            if (shape == "long" && i % 80 == 40) cmd = "sleep 0.2"
            else if (shape == "long" && i % 10 == 5) cmd = "echo job" i
            print cmd > list
            printf "j%d:\n\t@%s\n", i, cmd > mk
        }
    }'
}

run_zbsvc() { "$zbsvc" run -j 2 -f "$work/$1.list" 2> /dev/null; }
run_make() { make -s -j2 -k -Otarget -f "$work/$1.mk" 2> /dev/null; }
run_floor() { "$work/floor" < "$work/$1.list"; }
run_reference() { "$reference" run -j 2 -f "$work/$1.list" 2> /dev/null; }

# "LINES failed|ok": the sorted output and whether the run failed.
answer() # TOOL NAME
{
    local status=ok
    "run_$1" "$2" > "$work/out" || status=failed
    echo "$(sort "$work/out" | cksum) $status"
}

. "$root/benchmarks/ratio_stats.sh"

for shape in $shapes; do
    generate "$shape" "$jobs" "$shape"
    want=$(answer make "$shape")
    [ "$(answer zbsvc "$shape")" = "$want" ] ||
        { echo "$shape: zbsvc and make differ in output or status" >&2; exit 1; }
    if [ -n "$reference" ]; then
        [ "$(answer reference "$shape")" = "$want" ] ||
            { echo "$shape: zbsvc and $reference differ in output or status" >&2; exit 1; }
    fi
    printf '%-8s %d commands; both print the same %d lines, %s%s\n' "$shape" "$jobs" \
        "$(run_make "$shape" | wc -l)" "${want##* }" "${reference:+, as the reference}"
    zb_start "$work/$shape.zbsvc" "$work/$shape.make"
done
cc -O2 -x c -o "$work/floor" - <<'EOF'
#include <spawn.h>
#include <stdio.h>
#include <string.h>
#include <sys/wait.h>
extern char **environ;
int main(void)
{
    char line[4096];
    int running = 0, failed = 0, status;
    while (fgets(line, sizeof line, stdin)) {
        char *argv[] = {line, NULL};
        pid_t pid;
        line[strcspn(line, "\n")] = 0;
        if (running == 2 && wait(&status) > 0)
            running--, failed |= status != 0;
        if (posix_spawnp(&pid, line, NULL, NULL, argv, environ) == 0)
            running++;
    }
    for (; running > 0 && wait(&status) > 0; running--)
        failed |= status != 0;
    return failed;
}
EOF
zb_start "$work/trivial.floor"

for _ in $(seq "$runs"); do
    for shape in $shapes; do
        zb_time "$work/$shape.zbsvc" run_zbsvc "$shape"
        zb_time "$work/$shape.make" run_make "$shape"
        [ "$shape" != trivial ] || zb_time "$work/trivial.floor" run_floor trivial
    done
done
worst="" worst_ratio=""
for shape in $shapes; do
    printf '%-8s zbsvc: %s; make: %s (medians over %d runs)\n' "$shape" \
        "$(zb_medians "$work/$shape.zbsvc")" "$(zb_medians "$work/$shape.make")" "$runs"
    zb_ratio_spread "$shape: zbsvc/make" "$work/$shape.zbsvc" "$work/$shape.make"
    ratio=$(zb_median "$work/$shape.zbsvc.over.$shape.make.t")
    if [ -z "$worst" ] || awk -v a="$ratio" -v b="$worst_ratio" 'BEGIN { exit !(a > b) }'; then
        worst="$shape" worst_ratio="$ratio"
    fi
done
printf 'trivial  floor (posix_spawnp two at a time, no shell, no capture): %s\n' "$(zb_medians "$work/trivial.floor")"
zb_ratio_spread "trivial: floor/make" "$work/trivial.floor" "$work/trivial.make"
zb_ratio_spread "trivial: zbsvc/floor" "$work/trivial.zbsvc" "$work/trivial.floor"
printf 'worst shape: %s, zbsvc/make %.2f (elapsed, median run by run; target 0.80)\n' \
    "$worst" "$worst_ratio"

# Linear growth: twice the worst shape's list, each run next to one of the
# list itself.
generate "$worst" $((2 * jobs)) double
zb_start "$work/single" "$work/double"
for _ in $(seq "$runs"); do
    zb_time "$work/single" run_zbsvc "$worst"
    zb_time "$work/double" run_zbsvc double
done
zb_ratio_spread "$worst: zbsvc on $((2 * jobs)) / on $jobs commands (linear: 2)" \
    "$work/double" "$work/single"
