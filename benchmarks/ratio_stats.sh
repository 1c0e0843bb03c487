# Shared by the comparison scripts (sourced): the spread of a ratio over
# alternating runs.
#
#   zb_time_run CPU_FILE WALL_FILE COMMAND...  appends the CPU time (user +
#                                               system) and the elapsed time
#                                               (whatever the command's status)
#   zb_ratios A_FILE B_FILE OUT_FILE            OUT gets A[i] / B[i], run by run
#   zb_spread FILE                              "median (min M, max X)" of FILE
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
