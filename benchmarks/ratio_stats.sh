# shellcheck shell=bash
# Shared by the comparison scripts (sourced): the spread of a ratio over
# alternating runs.
#
#   zb_time_run CPU_FILE WALL_FILE COMMAND...  appends the CPU time (user +
#                                               system) and the elapsed time
#                                               (whatever the command's status)
#   zb_ratios A_FILE B_FILE OUT_FILE            OUT gets A[i] / B[i], run by run
#   zb_spread FILE                              "median (min M, max X)" of FILE
#
# The same by base name: the runs of one tool go to BASE.cpu and BASE.t.
#
#   zb_start BASE...                 empties BASE.cpu and BASE.t of each BASE
#   zb_time BASE COMMAND...          zb_time_run BASE.cpu BASE.t COMMAND...
#                                    (the output is dropped: a command whose
#                                    output is kept redirects it itself)
#   zb_medians BASE                  "W s elapsed, C s CPU", both medians
#   zb_div A B                       A / B (0 when B is 0)
#   zb_rate AMOUNT BASE              AMOUNT per second of the median elapsed
#   zb_median_ratio A B              median elapsed of A / that of B
#   zb_add A B SUM                   SUM gets A + B run by run, both kinds
#   zb_ratio_spread LABEL A B        the ratio A / B run by run, in elapsed
#                                    and in CPU time, one line each
#
# By input shape, the runs of zbsvc in DIR/SHAPE.zbsvc and of the other tool
# in DIR/SHAPE.TOOL:
#
#   zb_worst_shape DIR TOOL SHAPE...  the medians and TOOL/zbsvc run by run
#                                     for each shape, then the worst shape
#                                     (lowest median ratio); sets worst and
#                                     worst_ratio
#   zb_peak_memory ONE DIR SHAPE... -- COMMAND...
#                                     the peak memory of COMMAND FILE for
#                                     each DIR/SHAPE.mk against its size, as
#                                     it stands and without what COMMAND ONE
#                                     (a one-line input) holds
zb_time_run()
{
    local cpu="$1" wall="$2" line
    shift 2
    line=$( { TIMEFORMAT='%U %S %R'; time "$@" > /dev/null 2>&1 || true; } 2>&1 )
    echo "$line" | awk '{ printf "%.4f\n", $1 + $2 }' >> "$cpu"
    echo "$line" | awk '{ print $3 }' >> "$wall"
}

zb_ratios()
{
    paste "$1" "$2" | awk '{ printf "%.4f\n", ($2 > 0 ? $1 / $2 : 0) }' > "$3"
}

zb_median()
{
    sort -g "$1" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

zb_spread()
{
    sort -g "$1" | awk '{ v[NR] = $1 } END {
        m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2;
        printf "%.2f (min %.2f, max %.2f)", m, v[1], v[NR] }'
}

zb_start()
{
    local base
    for base in "$@"; do
        : > "$base.cpu"
        : > "$base.t"
    done
}

zb_time()
{
    local base="$1"
    shift
    zb_time_run "$base.cpu" "$base.t" "$@"
}

zb_medians()
{
    printf '%.4f s elapsed, %.4f s CPU' "$(zb_median "$1.t")" "$(zb_median "$1.cpu")"
}

zb_div()
{
    awk -v a="$1" -v b="$2" 'BEGIN { printf "%.6f\n", (b > 0 ? a / b : 0) }'
}

zb_rate()
{
    zb_div "$1" "$(zb_median "$2.t")"
}

zb_median_ratio()
{
    zb_div "$(zb_median "$1.t")" "$(zb_median "$2.t")"
}

zb_add()
{
    local kind
    for kind in t cpu; do
        paste "$1.$kind" "$2.$kind" | awk '{ printf "%.4f\n", $1 + $2 }' > "$3.$kind"
    done
}

zb_ratio_spread()
{
    local label="$1" a="$2" b="$3" kind
    for kind in t cpu; do
        zb_ratios "$a.$kind" "$b.$kind" "$a.over.${b##*/}.$kind"
    done
    printf '%s run by run, elapsed: %s\n' "$label" "$(zb_spread "$a.over.${b##*/}.t")"
    printf '%s run by run, CPU (user + system): %s\n' "$label" "$(zb_spread "$a.over.${b##*/}.cpu")"
}

zb_worst_shape()
{
    local dir="$1" tool="$2" shape ratio
    shift 2
    worst="" worst_ratio=""
    for shape in "$@"; do
        printf '%-10s zbsvc: %s; %s: %s (medians over %d runs)\n' "$shape" \
            "$(zb_medians "$dir/$shape.zbsvc")" "$tool" "$(zb_medians "$dir/$shape.$tool")" \
            "$(wc -l < "$dir/$shape.zbsvc.t")"
        zb_ratio_spread "$shape: $tool/zbsvc" "$dir/$shape.$tool" "$dir/$shape.zbsvc"
        ratio=$(zb_median "$dir/$shape.$tool.over.$shape.zbsvc.t")
        if [ -z "$worst" ] || awk -v a="$ratio" -v b="$worst_ratio" 'BEGIN { exit !(a < b) }'; then
            worst="$shape" worst_ratio="$ratio"
        fi
    done
    printf 'worst shape: %s, %s/zbsvc %.2f (elapsed, median run by run)\n' "$worst" "$tool" "$worst_ratio"
}

zb_peak_memory()
{
    local one="$1" dir="$2" shapes=() shape base peak input
    shift 2
    while [ "$1" != -- ]; do shapes+=("$1"); shift; done
    shift
    base=$(/usr/bin/time -f %M "$@" "$one" 2>&1 > /dev/null | tail -n 1)
    for shape in "${shapes[@]}"; do
        peak=$(/usr/bin/time -f %M "$@" "$dir/$shape.mk" 2>&1 > /dev/null | tail -n 1)
        input=$(($(stat -c %s "$dir/$shape.mk") / 1024))
        printf '%-10s zbsvc peak memory %d kB for %d kB of input: %.2f times the input, %.2f without the %d kB of a one-line run\n' \
            "$shape" "$peak" "$input" "$(zb_div "$peak" "$input")" "$(zb_div $((peak - base)) "$input")" "$base"
    done
}
