#!/usr/bin/env bash
# Times "zbsvc pp -nocheck FILE" against "cpp -P -undef -nostdinc
# -traditional-cpp FILE" on generated description files of three shapes
# that pull in different directions:
#   text        two lines in three plain text, one in nine a block comment
#               (the rest #ifdef/#endif): the time goes to copying text
#   directives  nearly every line a directive (#define, #if with defined()
#               and comparisons, #elif, #else, #undef): the time goes to
#               conditions and macro tables
#   nested      blocks nested 30 deep, inactive branches, block comments of
#               twelve lines: the time goes to skipping and to comments
# For each shape it checks that both tools keep the same text (below),
# runs the two alternately RUNS times, and prints the medians (elapsed and
# CPU time) and the ratio cpp/zbsvc run by run (median, minimum, maximum);
# then the worst shape's ratio, zbsvc on twice the worst shape's input
# against the input itself (pair by pair: linear growth is 2), and the peak
# memory of zbsvc on every shape against the size of its input.
#   benchmarks/pp_vs_cpp.sh [BUILD_DIR] [RUNS] [MEGABYTES] [REFERENCE_ZBSVC]
# With REFERENCE_ZBSVC (a zbsvc built before a change), zbsvc's output must
# also be byte for byte that of the reference on every shape.
#
# The same text: the two differ by design in what the comparison sets
# aside: #define lines with a value stay in ours, "//" comments are text to
# cpp in traditional mode, and blank lines and runs of blanks left by the
# directives and comments differ.  The generated conditions mean the same
# to both (defined names, comparisons with numbers, one kind of operator per
# condition), and no defined name appears in the text.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
runs="${2:-7}"
megabytes="${3:-20}"
reference="${4:-}"
. "$root/scripts/env.sh"
zbsvc="$build/bin/zbsvc"
[ -x "$zbsvc" ] || { echo "no $zbsvc: build first" >&2; exit 1; }
work="$(mktemp -d /tmp/zbpp.XXXXXX)"
trap 'rm -rf "$work"' EXIT
shapes="text directives nested"

generate() { # generate SHAPE FILE MEGABYTES
    python3 - "$1" "$2" "$3" <<'PY'
import random, sys
shape, path, megabytes = sys.argv[1], sys.argv[2], int(sys.argv[3])
rnd = random.Random(1)
target = megabytes * 1000 * 1000
words = ["src", "include", "lib", "obj", "doc", "tools", "common", "extra", "main"]
def text(n):
    return "%s_%d = %s/mod_%d/%s_%d.cpp %s/mod_%d/%s.o -I%s/%d\n" % (
        rnd.choice(["SRC", "OBJ", "INC", "LIB"]), n, rnd.choice(words), n,
        rnd.choice(words), n % 97, rnd.choice(words), n, rnd.choice(words),
        rnd.choice(words), n % 13)
def text_unit(n):
    return (text(n) + text(n + 1) +
            "/* module %d: the sources and flags of the optimised build */\n" % n +
            "#ifdef LEVEL_A\n" + text(n + 2) + text(n + 3) + "#endif\n" +
            text(n + 4) + text(n + 5))
def directives_unit(n):
    return ("#define DEF_%d %d\n" % (n, n % 5) +
            "#ifdef LEVEL_A\n"
            "#if defined(LEVEL_B) && DEF_%d >= 2\n" % n +
            "#define HAVE_%d 1\n" % n +
            "#elif VERSION >= 3\n"
            "#define OLD_%d 1\n" % n +
            "#else\n"
            "#undef DEF_%d\n" % n +
            "#endif\n"
            "#endif\n"
            "#ifndef LEVEL_C\n" + text(n) + "#endif\n"
            "#if DEF_%d == 3 || DEF_%d == 4\n" % (n, n) +
            "#define TOP_%d\n" % n +
            "#endif\n")
def comment(n, lines):
    body = "".join("   line %d of the note on module %d: what it builds and why\n" % (i, n)
                   for i in range(lines))
    return "/* Module %d.\n%s */\n" % (n, body)
def nested_unit(n):
    depth = 30
    out = []
    for d in range(depth):
        out.append("#ifndef LEVEL_C\n" if d % 2 else "#ifdef LEVEL_A\n")
        if d % 6 == 0:
            out.append(comment(n + d, 12))
        if d % 5 == 0:
            out.append(text(n + d))
        if d % 7 == 3:
            out.append("#ifdef LEVEL_C\n" + comment(n, 4) + text(n) + text(n + 1) +
                       "#else\n" + text(n + 2) + "#endif\n")
    for d in range(depth):
        out.append("#endif\n")
    return "".join(out)
unit = {"text": text_unit, "directives": directives_unit, "nested": nested_unit}[shape]
parts = ["#define LEVEL_A 1\n#define LEVEL_B 1\n#define VERSION 4\n"]
size = len(parts[0])
n = 0
while size < target:
    part = unit(n)
    parts.append(part)
    size += len(part)
    n += 6
with open(path, "w") as f:
    f.write("".join(parts))
PY
}
. "$root/benchmarks/ratio_stats.sh"
# What both keep: "//" comments, #define lines, blank lines and runs of
# blanks set aside.
kept() { sed -e 's|//.*||' -e 's/[ \t][ \t]*/ /g' -e 's/ $//' | grep -v -e '^#define' -e '^ *$' || true; }

for shape in $shapes; do
    generate "$shape" "$work/$shape.mk" "$megabytes"
    "$zbsvc" pp -nocheck "$work/$shape.mk" > "$work/$shape.zb"
    kept < "$work/$shape.zb" > "$work/$shape.zb.kept"
    cpp -P -undef -nostdinc -traditional-cpp "$work/$shape.mk" 2> /dev/null | kept > "$work/$shape.cpp.kept"
    cmp -s "$work/$shape.zb.kept" "$work/$shape.cpp.kept" ||
        { echo "$shape: zbsvc and cpp keep different text" >&2; exit 1; }
    if [ -n "$reference" ]; then
        "$reference" pp -nocheck "$work/$shape.mk" | cmp -s - "$work/$shape.zb" ||
            { echo "$shape: zbsvc's output differs from $reference's" >&2; exit 1; }
    fi
    printf '%-10s %d bytes, %d lines; both keep the same %d lines%s\n' "$shape" \
        "$(stat -c %s "$work/$shape.mk")" "$(wc -l < "$work/$shape.mk")" \
        "$(wc -l < "$work/$shape.zb.kept")" "${reference:+, output as the reference\'s}"
    rm -f "$work/$shape.zb" "$work/$shape.zb.kept" "$work/$shape.cpp.kept"
    zb_start "$work/$shape.zbsvc" "$work/$shape.cpp"
done

for _ in $(seq "$runs"); do
    for shape in $shapes; do
        zb_time "$work/$shape.zbsvc" "$zbsvc" pp -nocheck "$work/$shape.mk"
        zb_time "$work/$shape.cpp" cpp -P -undef -nostdinc -traditional-cpp "$work/$shape.mk"
    done
done
zb_worst_shape "$work" cpp $shapes

# Linear growth: twice the worst shape's input, each run next to one of
# the input itself.
generate "$worst" "$work/double.mk" $((2 * megabytes))
zb_start "$work/single" "$work/double"
for _ in $(seq "$runs"); do
    zb_time "$work/single" "$zbsvc" pp -nocheck "$work/$worst.mk"
    zb_time "$work/double" "$zbsvc" pp -nocheck "$work/double.mk"
done
zb_ratio_spread "$worst: zbsvc on $((2 * megabytes)) MB / on $megabytes MB (linear: 2)" \
    "$work/double" "$work/single"

# Peak memory (maximum resident set) against the input, as it stands and
# without what a run over a one-line file holds (libraries, start-up).
printf 'A = 1\n' > "$work/one.mk"
zb_peak_memory "$work/one.mk" "$work" $shapes -- "$zbsvc" pp -nocheck
