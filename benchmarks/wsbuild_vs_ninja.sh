#!/usr/bin/env bash
# Building a workspace: zbwsbuild against ninja on the same generated
# workspace (scripts/gen-workspace.sh, a fixed seed), both at -j2.
#
#   benchmarks/wsbuild_vs_ninja.sh [BUILD_DIR] [RUNS] [FRAMEWORKS MODULES SOURCES]
#
# Defaults: build, 3 runs, 100 frameworks of 10 modules of 10 sources
# (10,000 sources).  The workspace is generated once and copied, one copy
# per tool.  Ninja's file comes from benchmarks/wsbuild-ninja.sh: the same
# descriptions read by zbsvc, the same compile commands, the dependencies
# from the compiler's -MD files.  Each run times, for each tool (the one
# that goes first alternates):
#
#   full    a build from nothing (objects, block, ninja's logs removed)
#   no-op   the same build again, nothing to do
#   header  a build after touching the header with the most dependent
#           objects among those reached by at most half of them (chosen
#           from ninja's dependencies after the first full build)
#
# and prints the medians and the ratios zbwsbuild / ninja run by run
# (targets: full 1.1, no-op 2, header 1.2), after checking that both
# tools' objects are the same bytes.  The machine's load (uptime) is
# printed before and after: timings on a loaded machine are noise.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
runs="${2:-3}"
shape=("${3:-100}" "${4:-10}" "${5:-10}")
zbwsbuild="$build/bin/zbwsbuild"
zbsvc="$build/bin/zbsvc"
[ -x "$zbwsbuild" ] && [ -x "$zbsvc" ] || { echo "no $zbwsbuild or $zbsvc: build first" >&2; exit 1; }
command -v ninja >/dev/null || { echo "ninja is needed (ninja-build)" >&2; exit 1; }
. "$root/scripts/env.sh"
. "$root/benchmarks/ratio_stats.sh"
work="$(mktemp -d /tmp/wsbuild_vs_ninja.XXXXXX)"
trap 'rm -rf "$work"' EXIT
echo "load before: $(uptime)"

bash "$root/scripts/gen-workspace.sh" "$work/zb" "${shape[@]}"
cp -a "$work/zb" "$work/nj"
ZBSVC="$zbsvc" bash "$root/benchmarks/wsbuild-ninja.sh" "$work/nj" >"$work/nj/build.ninja"
objects="$(grep -c '^build ' "$work/nj/build.ninja")"
echo "workspace: ${shape[0]} frameworks x ${shape[1]} modules x ${shape[2]} sources, $objects objects"

# The two tools, each on its own copy; a failed build stops the benchmark
# (the timing runs it in a subshell: it leaves its log as TOOL.failed).
tool_zb() { "$zbwsbuild" -j 2 "$work/zb" >"$work/zb.log" 2>&1 || mv "$work/zb.log" "$work/zb.failed"; }
tool_nj() { ninja -C "$work/nj" -j 2 >"$work/nj.log" 2>&1 || mv "$work/nj.log" "$work/nj.failed"; }
clean_zb() { rm -rf "$work/zb/Objects" "$work/zb"/*/*.m/Objects; }
clean_nj() { rm -rf "$work/nj"/*/*.m/Objects "$work/nj/.ninja_log" "$work/nj/.ninja_deps"; }

# The header with the most dependent objects among those reached by at
# most half of them, from ninja's dependencies.
choose_header() {
  ninja -C "$work/nj" -t deps | awk -v half=$((objects / 2)) '
    /^    / && $1 !~ /^\// && $1 !~ /\.c$/ { n[$1]++ }
    END { for (h in n) if (n[h] <= half && n[h] > best) { best = n[h]; name = h }
          print name, best }'
}

zb_start "$work/full.zb" "$work/full.nj" "$work/noop.zb" "$work/noop.nj" "$work/header.zb" "$work/header.nj"
header=""
for ((run = 1; run <= runs; run++)); do
  order="zb nj"
  [ $((run % 2)) -eq 0 ] && order="nj zb"
  for phase in full noop header; do
    for tool in $order; do
      case "$phase" in
        full) "clean_$tool" ;;
        header) touch "$work/$tool/$header" ;;
      esac
      zb_time "$work/$phase.$tool" "tool_$tool"
      [ ! -e "$work/$tool.failed" ] || { cat "$work/$tool.failed"; exit 1; }
    done
    if [ -z "$header" ]; then
      read -r header reached <<<"$(choose_header)"
      echo "header: $header, read by $reached of $objects objects"
    fi
  done
  echo "run $run: full $(tail -n 1 "$work/full.zb.t") s / $(tail -n 1 "$work/full.nj.t") s," \
    "no-op $(tail -n 1 "$work/noop.zb.t") s / $(tail -n 1 "$work/noop.nj.t") s," \
    "header $(tail -n 1 "$work/header.zb.t") s / $(tail -n 1 "$work/header.nj.t") s (zbwsbuild / ninja)"
done

different=0
while read -r object; do
  cmp -s "$work/zb/$object" "$work/nj/$object" || { echo "different: $object"; different=$((different + 1)); }
done < <(sed -n 's/^build \([^:]*\):.*/\1/p' "$work/nj/build.ninja")
echo "objects compared: $objects, different: $different"

for phase in full noop header; do
  echo "$phase: zbwsbuild $(zb_medians "$work/$phase.zb"); ninja $(zb_medians "$work/$phase.nj")"
  zb_ratio_spread "  zbwsbuild / ninja" "$work/$phase.zb" "$work/$phase.nj"
done
echo "targets: full 1.1, no-op 2, header 1.2 (elapsed)"
echo "load after: $(uptime)"
[ "$different" -eq 0 ]
