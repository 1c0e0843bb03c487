#!/usr/bin/env bash
# benchmarks/wsbuild-ninja.sh WS [LEVELFILE]: prints a Ninja file that
# builds the objects of the workspace WS as zbwsbuild does, to be run in WS
# (ninja -C WS -f FILE): each module's Imakefile.mk is preprocessed against
# the level file (default WS/TALVEXV5Level.lvl) and solved by zbsvc (pp,
# then macros), and each source becomes an edge with zbwsbuild's command,
#
#   CC CFLAGS -IDIR... -c FW/MOD.m/src/SOURCE -o FW/MOD.m/Objects/SOURCE.o
#
# (DIRs: INCLUDES, then FW/PublicInterfaces of each USED_FRAMEWORKS),
# followed by -MD -MF OBJECT.d: the compiler names the dependencies.  zbsvc
# is $ZBSVC, else the one of PATH.
set -euo pipefail
if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: benchmarks/wsbuild-ninja.sh WS [LEVELFILE]" >&2
  exit 2
fi
ws="$(cd "$1" && pwd)"
level="${2:-$ws/TALVEXV5Level.lvl}"
zbsvc="${ZBSVC:-zbsvc}"

# macro NAME: the value of NAME in the NAME='value' lines of $macros.
macro() {
  local line
  while IFS= read -r line; do
    case "$line" in "$1='"*"'") line="${line#"$1='"}"; printf '%s' "${line%"'"}"; return ;; esac
  done <<<"$macros"
}

echo "# The objects of $ws, as zbwsbuild builds them."
echo "rule cc"
echo "  command = \$cmd -MD -MF \$out.d"
echo "  description = compile \$in"
echo "  depfile = \$out.d"
echo "  deps = gcc"
for fwdir in "$ws"/*/; do
  fw="$(basename "$fwdir")"
  [ -e "$ws/$fw/IdentityCard" ] || continue
  for moddir in "$ws/$fw"/*.m*/; do
    mod="$(basename "$moddir")"
    [ -f "$ws/$fw/$mod/Imakefile.mk" ] || continue
    macros="$("$zbsvc" pp -level "$level" -expand -I "$ws/$fw" -I "$ws" "$ws/$fw/$mod/Imakefile.mk" |
      "$zbsvc" macros -solve -)"
    command="$(macro CC)"
    command="${command:-cc}"
    flags="$(macro CFLAGS)"
    [ -z "$flags" ] || command+=" $flags"
    read -ra includes <<<"$(macro INCLUDES)"
    for used in $(macro USED_FRAMEWORKS); do
      case " ${includes[*]} " in *" $used/PublicInterfaces "*) ;; *) includes+=("$used/PublicInterfaces") ;; esac
    done
    for dir in "${includes[@]}"; do command+=" -I$dir"; done
    for source in $(macro SOURCES); do
      object="$fw/$mod/Objects/${source%.*}.o"
      echo "build $object: cc $fw/$mod/src/$source"
      echo "  cmd = $command -c $fw/$mod/src/$source -o $object"
    done
  done
done
