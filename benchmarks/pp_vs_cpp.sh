#!/usr/bin/env bash
# Times "zbsvc pp -nocheck FILE" against "cpp -P -undef -nostdinc
# -traditional-cpp FILE" on a generated description file of about 20 MB
# (nested conditionals, defines, block and line comments), prints the
# medians and the ratio run by run (median, minimum, maximum), then
# times zbsvc on a 40 MB file of the same kind to check that the time grows
# linearly, and reports the peak memory of
# zbsvc (the buffer is filtered in place: about one copy of the input).
#   benchmarks/pp_vs_cpp.sh [BUILD_DIR] [RUNS] [MEGABYTES]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
runs="${2:-7}"
megabytes="${3:-20}"
. "$root/scripts/env.sh"
zbsvc="$build/bin/zbsvc"
work="$(mktemp -d /tmp/zbpp.XXXXXX)"
trap 'rm -rf "$work"' EXIT

generate() { # generate FILE MEGABYTES
    python3 - "$1" "$2" <<'PY'
import sys
path, megabytes = sys.argv[1], int(sys.argv[2])
target = megabytes * 1000 * 1000
parts = []
size = n = 0
while size < target:
    block = (
        "/* Module %d: sources, link and flags.\n"
        "   The levels decide which of them are built. */\n"
        "#define MOD_%d %d\n"
        "#ifdef LEVEL_A\n"
        "SRC_%d = src/file_%d.cpp src/other_%d.cpp // the sources\n"
        "#if defined(LEVEL_B) && MOD_%d >= 2\n"
        "LINK_%d = -lfoo_%d -lbar_%d\n"
        "#else\n"
        "LINK_%d = -lbaz_%d\n"
        "#endif\n"
        "#elif VERSION >= 3\n"
        "OLD_%d = yes\n"
        "#endif\n"
        "#ifndef LEVEL_C\n"
        "#if MOD_%d\n"
        "EXTRA_%d = $(MOD_%d_EXTRA) /* inline comment */ end\n"
        "#endif\n"
        "#endif\n"
        "FLAGS_%d = -O2 -g -DMODULE=%d\n"
        "\n"
    ) % ((n, n, n % 4) + (n,) * 6 + (n,) * 3 + (n,) * 6)
    parts.append(block)
    size += len(block)
    n += 1
with open(path, "w") as f:
    f.write("#define LEVEL_A 1\n#define LEVEL_B 1\n#define VERSION 4\n")
    f.write("".join(parts))
PY
}
. "$root/benchmarks/ratio_stats.sh"
cpp_run() { cpp -P -undef -nostdinc -traditional-cpp "$1"; }

file="$work/big.mk"
generate "$file" "$megabytes"
double="$work/double.mk"
generate "$double" $((2 * megabytes))
echo "input: $(stat -c %s "$file") bytes, $(wc -l < "$file") lines"

# Both must get through the file.  The outputs differ by design: #define
# lines with a value stay in ours, and "#if MOD_n" tests whether MOD_n is
# defined in ours, its value in cpp (MOD_n is 0 for one module in four).
"$zbsvc" pp -nocheck "$file" | grep -v '^#define' | grep -c '^[A-Z]' > "$work/zb.n"
cpp_run "$file" 2> /dev/null | grep -c '^[A-Z]' > "$work/cpp.n"
echo "kept lines: zbsvc $(cat "$work/zb.n"), cpp $(cat "$work/cpp.n")"

zb_start "$work/zb" "$work/cpp" "$work/zb2"
for _ in $(seq "$runs"); do
    zb_time "$work/zb" "$zbsvc" pp -nocheck "$file"
    zb_time "$work/cpp" cpp -P -undef -nostdinc -traditional-cpp "$file"
    zb_time "$work/zb2" "$zbsvc" pp -nocheck "$double"
done
zb_wall=$(zb_median "$work/zb.t"); zb_cpu=$(zb_median "$work/zb.cpu")
cpp_wall=$(zb_median "$work/cpp.t"); cpp_cpu=$(zb_median "$work/cpp.cpu")
zb2_wall=$(zb_median "$work/zb2.t"); zb2_cpu=$(zb_median "$work/zb2.cpu")
printf 'zbsvc pp (%d MB): median wall %.3f s, cpu %.3f s over %d runs\n' "$megabytes" "$zb_wall" "$zb_cpu" "$runs"
printf 'cpp      (%d MB): median wall %.3f s, cpu %.3f s over %d runs\n' "$megabytes" "$cpp_wall" "$cpp_cpu" "$runs"
# The ratio run by run (the runs alternate), with its spread.
zb_ratios "$work/cpp.t" "$work/zb.t" "$work/ratio.t"
zb_ratios "$work/cpp.cpu" "$work/zb.cpu" "$work/ratio.cpu"
printf 'ratio cpp/zbsvc over %d runs: wall %s, cpu %s (zbsvc is that many times faster)\n' \
    "$runs" "$(zb_spread "$work/ratio.t")" "$(zb_spread "$work/ratio.cpu")"
printf 'zbsvc pp (%d MB): median wall %.3f s, cpu %.3f s; ratio to %d MB: wall %.3f, cpu %.3f (linear: 2)\n' \
    $((2 * megabytes)) "$zb2_wall" "$zb2_cpu" "$megabytes" \
    "$(zb_div "$zb2_wall" "$zb_wall")" "$(zb_div "$zb2_cpu" "$zb_cpu")"
peak=$(/usr/bin/time -f %M "$zbsvc" pp -nocheck "$file" 2>&1 > /dev/null | tail -n 1)
printf 'zbsvc pp peak memory: %d kB for %d kB of input (the macros of the file included)\n' \
    "$peak" $(($(stat -c %s "$file") / 1024))
