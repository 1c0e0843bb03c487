#!/usr/bin/env bash
# Reading and resolving a large description file: zbsvc macros -solve
# against make reading the same file (make -pn: the definitions are
# recursive variables, which make reads and prints without resolving them),
# on generated files of N definitions (default 100,000) of three shapes that
# pull in different directions:
#   chains   chains of 50 references (C1 = w1 $(C0), ... C49 = w49 $(C48)):
#            the time goes to resolving, and the values printed grow
#   short    short definitions that refer to nothing: the time goes to
#            reading lines and to the dictionary
#   quoting  quoted text of the three kinds, continuation lines, comment
#            lines and trailing comments, a reference in one line in
#            three: the time goes to normalising the text
# For each shape it checks that zbsvc gives the values make gives to the
# same definitions made simply-expanded (:=, which make resolves as it reads
# them), runs the two alternately RUNS times, and prints the medians
# (elapsed and CPU time) and the ratio make/zbsvc run by run (median,
# minimum, maximum); then the worst shape's ratio, zbsvc on twice the worst
# shape's definitions against the definitions themselves (pair by pair:
# linear growth is 2), and zbsvc's peak memory on every shape against the
# size of its input.
#
#   benchmarks/macros_vs_make.sh [BUILD_DIR] [RUNS] [N] [REFERENCE_ZBSVC]
#
# With REFERENCE_ZBSVC (a zbsvc built before a change), zbsvc's output must
# also be byte for byte that of the reference on every shape.
#
# The comparison with make sets aside the two things the file means
# differently to the two: zbsvc takes a pair of single quotes around a
# whole value away where make keeps them (all single quotes are deleted on
# both sides), and make keeps the blank before a trailing comment (trailing
# blanks are deleted; no reference names a value that has one).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
runs="${2:-7}"
count="${3:-100000}"
reference="${4:-}"
zbsvc="$build/bin/zbsvc"
[ -x "$zbsvc" ] || { echo "no $zbsvc: build first" >&2; exit 1; }
. "$root/scripts/env.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
shapes="chains short quoting"

generate() # SHAPE N FILE
{
    awk -v shape="$1" -v n="$2" 'BEGIN {
        q = "\047";
        print "# generated definitions: " shape;
        for (i = 0; i < n; i++) {
            if (shape == "chains") {
                k = i % 50;
                if (i % 8 == 0)
                    printf "# definition %d of the chain %d\n", i, int(i / 50);
                if (k == 0)
                    printf "C%d = %sw%d base%d \"quoted  text\"%s\n", i, q, i, i % 7, q;
                else if (k % 10 == 3)
                    printf "C%d = w%d \"q  %d\" $(C%d)\n", i, i, i, i - 1;
                else if (k % 10 == 5)
                    printf "C%d = w%d \\\n\tx%d $(C%d)\n", i, i, i, i - 1;
                else if (k == 49)
                    printf "C%d = w%d $(C%d) # the end of the chain %d\n", i, i, i - 1, int(i / 50);
                else
                    printf "C%d = w%d $(C%d)\n", i, i, i - 1;
            } else if (shape == "short") {
                printf "SHORT_%d = /opt/lib%d.so -O%d\n", i, i, i % 4;
            } else {
                k = i % 6;
                if (k == 0)
                    printf "# %d: quoted values of the three kinds, continued\n", i;
                if (k == 0)
                    printf "Q%d = %sw%d  single  %d%s \"double  %d\" \\\n    `back  quoted %d`\n", i, q, i, i, q, i, i;
                else if (k == 1)
                    printf "Q%d = \"a  %d\" \\\n\t\"b  c\" \\\n\t%sd  e%s $(Q%d)\n", i, i, q, q, i - 1;
                else if (k == 2)
                    printf "Q%d = %sonly  quoted  %d%s # a comment after it\n", i, q, i, q;
                else if (k == 3)
                    printf "Q%d = text %d \"with  blanks\" and %sthe rest  %d%s\n", i, i, q, i, q;
                else if (k == 4)
                    printf "Q%d = \"%d\" %sx%s \"y\" `z` $(Q%d)\n", i, i, q, q, i - 3;
                else
                    printf "Q%d = w%d \\\n    x%d \\\n    y%d \\\n    z%d\n", i, i, i, i, i;
            }
        }
        print "all: ;";
    }' > "$3"
}
. "$root/benchmarks/ratio_stats.sh"

for shape in $shapes; do
    file="$work/$shape.mk"
    generate "$shape" "$count" "$file"
    "$zbsvc" macros -solve "$file" > "$work/$shape.zb"
    sed 's/^\([^=]*\)=/\1 := /' "$work/$shape.zb" | tr -d "'" | sort > "$work/zb.txt"
    sed 's/^\([A-Z_0-9]*\) = /\1 := /' "$file" > "$work/simple.mk"
    make -pn -f "$work/simple.mk" 2> /dev/null | grep -E '^(C|SHORT_|Q)[0-9]+ := ' | tr -d "'" |
        sed 's/[ \t]*$//' | sort > "$work/mk.txt"
    [ "$(wc -l < "$work/zb.txt")" -eq "$count" ] || { echo "$shape: zbsvc does not give $count values" >&2; exit 1; }
    cmp -s "$work/zb.txt" "$work/mk.txt" || { echo "$shape: zbsvc and make give different values" >&2; exit 1; }
    if [ -n "$reference" ]; then
        "$reference" macros -solve "$file" | cmp -s - "$work/$shape.zb" ||
            { echo "$shape: zbsvc's output differs from $reference's" >&2; exit 1; }
    fi
    printf '%-8s %d definitions, %d bytes in, %d bytes out; make gives the same values%s\n' \
        "$shape" "$count" "$(stat -c %s "$file")" "$(stat -c %s "$work/$shape.zb")" \
        "${reference:+, output as the reference\'s}"
    rm -f "$work/$shape.zb" "$work/zb.txt" "$work/mk.txt" "$work/simple.mk"
    zb_start "$work/$shape.zbsvc" "$work/$shape.make"
done

for _ in $(seq "$runs"); do
    for shape in $shapes; do
        zb_time "$work/$shape.zbsvc" "$zbsvc" macros -solve "$work/$shape.mk"
        zb_time "$work/$shape.make" make -pn -f "$work/$shape.mk"
    done
done
zb_worst_shape "$work" make $shapes

# Linear growth: twice the worst shape's definitions, each run next to one
# of the definitions themselves.
generate "$worst" $((2 * count)) "$work/double.mk"
zb_start "$work/single" "$work/double"
for _ in $(seq "$runs"); do
    zb_time "$work/single" "$zbsvc" macros -solve "$work/$worst.mk"
    zb_time "$work/double" "$zbsvc" macros -solve "$work/double.mk"
done
zb_ratio_spread "$worst: zbsvc on $((2 * count)) / on $count definitions (linear: 2)" \
    "$work/double" "$work/single"

# Peak memory (maximum resident set) against the input, as it stands and
# without what a run over a one-line file holds (libraries, start-up).
printf 'E = e\n' > "$work/one.mk"
zb_peak_memory "$work/one.mk" "$work" $shapes -- "$zbsvc" macros -solve
