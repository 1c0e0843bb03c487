#!/usr/bin/env bash
# The cost of going through the batch system: JOBS short commands run with
# zbsvc run -engine slurm through the local one-node cluster, and the same
# list with zbsvc run locally, SLOTS at a time.
#
#   benchmarks/run_slurm_vs_local.sh [BUILD_DIR] [JOBS] [SLOTS] [RUNS]
#
# Defaults: 200 jobs ("echo jobN"), 8 slots, 3 runs of each, alternating.
# Both runs must print the same lines (compared sorted).  Prints the medians
# and the cost per job of the engine: (slurm - local) / JOBS, the figure to
# weigh against the length of a real job when choosing the slot count; then
# the median CPU times (user + system of the commands started here: the
# jobs the cluster runs are not counted) and the ratio slurm/local run by
# run (median, minimum, maximum) in elapsed and in CPU time.  A third row,
# "steps", runs the same list as bare job steps of one allocation, SLOTS at
# a time by xargs, with the srun line zbsvc uses: the floor the cluster sets
# for any runner that starts one step per command.
# Needs root when no cluster is up: scripts/slurm-local.sh brings one up for
# the measurement and stops it afterwards.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
jobs="${2:-200}"
slots="${3:-8}"
runs="${4:-3}"
zbsvc="$build/bin/zbsvc"
[ -x "$zbsvc" ] || { echo "no $zbsvc: build first" >&2; exit 1; }
. "$root/scripts/env.sh"
work="$(mktemp -d)"
started=""
trap '[ -z "$started" ] || bash "$root/scripts/slurm-local.sh" down; rm -rf "$work"' EXIT
if ! conf="$(bash "$root/scripts/slurm-local.sh" conf 2>/dev/null)"; then
  started=yes
  conf="$(bash "$root/scripts/slurm-local.sh" up)"
fi
export SLURM_CONF="$conf"

for ((i = 0; i < jobs; i++)); do echo "echo job$i"; done >"$work/list"
. "$root/benchmarks/ratio_stats.sh"
run_engine() { # ENGINE: one run, its output kept sorted for the check
  "$zbsvc" run -engine "$1" -j "$slots" -f "$work/list" >"$work/out.$1"
  sort "$work/out.$1" >"$work/sorted.$1"
}

run_steps() { # the same list as bare steps of one allocation
  local grant id
  grant="$(salloc --no-shell -n "$slots" -O 2>&1)"
  id="$(sed -n 's/.*Granted job allocation \([0-9]*\).*/\1/p' <<<"$grant")"
  [ -n "$id" ] || { echo "no allocation: $grant" >&2; return 1; }
  xargs -P "$slots" -d '\n' -I{} srun -Q -Q --nodes=1 --ntasks=1 --jobid="$id" --exact \
    --overcommit /bin/sh -c -- {} <"$work/list" >"$work/out.steps"
  scancel "$id"
  sort "$work/out.steps" >"$work/sorted.steps"
}

zb_start "$work/local" "$work/slurm" "$work/steps"
for ((r = 0; r < runs; r++)); do
  zb_time "$work/local" run_engine local
  zb_time "$work/slurm" run_engine slurm
  zb_time "$work/steps" run_steps
  cmp -s "$work/sorted.local" "$work/sorted.steps" || { echo "bare steps' output differs" >&2; exit 1; }
  [ "$(wc -l <"$work/sorted.local")" -eq "$jobs" ] || { echo "the local run printed too few lines" >&2; exit 1; }
  cmp -s "$work/sorted.local" "$work/sorted.slurm" || { echo "outputs differ" >&2; exit 1; }
done
local_s=$(zb_median "$work/local.t")
slurm_s=$(zb_median "$work/slurm.t")
steps_s=$(zb_median "$work/steps.t")
awk -v l="$local_s" -v s="$slurm_s" -v b="$steps_s" -v n="$jobs" -v j="$slots" 'BEGIN {
  printf "%d jobs, %d slots, median of the runs\n", n, j
  printf "  local  %8.3f s  %7.2f ms/job\n", l, 1000 * l / n
  printf "  slurm  %8.3f s  %7.2f ms/job\n", s, 1000 * s / n
  printf "  steps  %8.3f s  %7.2f ms/job (bare steps of one allocation)\n", b, 1000 * b / n
  printf "  engine cost %.2f ms per job (slurm/local %.1f)\n", 1000 * (s - l) / n, (l > 0 ? s / l : 0)
  printf "  zbsvc beyond bare steps %.2f ms per job (slurm/steps %.2f)\n", 1000 * (s - b) / n, (b > 0 ? s / b : 0)
}'
printf '  CPU (user + system, this machine): local %.4f s, slurm %.4f s\n' \
  "$(zb_median "$work/local.cpu")" "$(zb_median "$work/slurm.cpu")"
zb_ratio_spread '  slurm/local' "$work/slurm" "$work/local"
