#!/usr/bin/env bash
# scripts/gen-workspace.sh DIR [FRAMEWORKS] [MODULES] [SOURCES]: writes a
# workspace of FRAMEWORKS frameworks (default 20) of MODULES modules
# (default 10) of SOURCES C sources (default 10) into DIR (created; it must
# not exist yet).  The same arguments always give the same files: the
# choices come from a generator with a fixed seed.
#
#   DIR/TALVEXV5Level.lvl           the level file (#define ZBWS_TRACES, ZBWS_LEVEL 2)
#   DIR/Workspace.mk                CC and the flags of every module
#   DIR/FwNNN/IdentityCard          the framework and its prerequisites
#   DIR/FwNNN/Framework.mk          FW, FW_PREREQS (closed over prerequisites), FW_CFLAGS
#   DIR/FwNNN/PublicInterfaces/     FwNNN.h (every module header), FwNNNTypes.h
#                                   (includes its prerequisites' types), FwNNNModMM.h
#   DIR/FwNNN/PrivateInterfaces/    FwNNNPriv.h, FwNNNConfig.h
#   DIR/FwNNN/ModMM.m/Imakefile.mk  the module's description (#include "Framework.mk",
#                                   conditionals on the levels, SOURCES, INCLUDES,
#                                   USED_FRAMEWORKS = $(FW_PREREQS), CFLAGS)
#   DIR/FwNNN/ModMM.m/src/ModMM_K.c includes its module's header and headers of its
#                                   own framework and of a prerequisite
#   DIR/FwNNN/various/OS/framework.data and OS/ModMM.m/module.data: the runtime
#                                   view (OS: $ZbzbOS_Buildtime, default linux_b64)
set -euo pipefail
if [ $# -lt 1 ] || [ $# -gt 4 ]; then
  echo "usage: scripts/gen-workspace.sh DIR [FRAMEWORKS] [MODULES] [SOURCES]" >&2
  exit 2
fi
dir="$1" nfw="${2:-20}" nmod="${3:-10}" nsrc="${4:-10}"
for n in "$nfw" "$nmod" "$nsrc"; do
  case "$n" in '' | *[!0-9]* | 0*) echo "gen-workspace.sh: not a count: '$n'" >&2; exit 2 ;; esac
done
if [ "$nfw" -gt 999 ] || [ "$nmod" -gt 99 ] || [ "$nsrc" -gt 99 ]; then
  echo "gen-workspace.sh: at most 999 frameworks of 99 modules of 99 sources" >&2
  exit 2
fi
if [ -e "$dir" ]; then
  echo "gen-workspace.sh: $dir exists already" >&2
  exit 1
fi
os="${ZbzbOS_Buildtime:-linux_b64}"

# The generator: a linear congruential sequence, the same in every bash.
seed=20240601
# rnd N: a number from 0 to N-1 in $r.
rnd() {
  seed=$(((seed * 1103515245 + 12345) % 2147483648))
  r=$(((seed >> 16) % $1))
}

mkdir -p "$dir"
cat >"$dir/TALVEXV5Level.lvl" <<'EOF'
// Levels of the generated workspace, tested by the modules' descriptions.
#define ZBWS_TRACES
#define ZBWS_LEVEL 2
EOF
cat >"$dir/Workspace.mk" <<'EOF'
# Compiler and flags of every module of the workspace.
CC = cc
WS_CFLAGS = -std=c99 -O1 -Wall
EOF

# Prerequisites: framework 0 is everyone's; each other framework adds up to
# two earlier ones.  closure[i]: its prerequisites and theirs, sorted.
declare -a direct closure
fwname() { printf -v "$1" 'Fw%03d' "$2"; }
for ((f = 0; f < nfw; f++)); do
  direct[f]="" closure[f]=""
  [ "$f" -eq 0 ] && continue
  declare -A seen=()
  list=(0)
  rnd 3
  for ((k = 0; k < r; k++)); do
    rnd "$f"
    list+=("$r")
  done
  for p in "${list[@]}"; do
    [ -n "${seen[$p]:-}" ] && continue
    seen[$p]=1
    direct[f]+=" $p"
    for q in $p ${closure[p]}; do seen[c$q]=1; done
  done
  for ((p = 0; p < f; p++)); do
    [ -n "${seen[c$p]:-}" ] && closure[f]+=" $p"
  done
  unset seen
done

# header F M K: the module header of module M of framework F.
write_framework() {
  local f="$1" fw fwdir p pn m mm k
  fwname fw "$f"
  fwdir="$dir/$fw"
  mkdir -p "$fwdir/PublicInterfaces" "$fwdir/PrivateInterfaces" "$fwdir/various/$os"
  {
    echo "framework $fw"
    printf 'prerequisites'
    for p in ${direct[f]}; do fwname pn "$p"; printf ' %s' "$pn"; done
    echo
  } >"$fwdir/IdentityCard"
  {
    echo "# $fw: what every module of the framework shares."
    echo '#include "Workspace.mk"'
    echo "FW = $fw"
    printf 'FW_PREREQS ='
    for p in ${closure[f]}; do fwname pn "$p"; printf ' %s' "$pn"; done
    echo
    echo "FW_CFLAGS = -DFRAMEWORK_$fw"
  } >"$fwdir/Framework.mk"
  {
    echo "#ifndef ${fw}Types_H"
    echo "#define ${fw}Types_H"
    for p in ${direct[f]}; do fwname pn "$p"; echo "#include \"${pn}Types.h\""; done
    echo "typedef struct ${fw}_id"
    echo "{"
    echo "    int value;"
    echo "    int parts[4];"
    for p in ${direct[f]}; do fwname pn "$p"; echo "    ${pn}_id_t ${pn}_parent;"; done
    echo "} ${fw}_id_t;"
    echo "#endif"
  } >"$fwdir/PublicInterfaces/${fw}Types.h"
  {
    echo "#ifndef ${fw}_H"
    echo "#define ${fw}_H"
    for ((m = 0; m < nmod; m++)); do printf '#include "%sMod%02d.h"\n' "$fw" "$m"; done
    echo "#endif"
  } >"$fwdir/PublicInterfaces/$fw.h"
  {
    echo "#ifndef ${fw}Config_H"
    echo "#define ${fw}Config_H"
    echo "#include <stddef.h>"
    echo "#define ${fw}_PARTS ((size_t)4)"
    echo "#endif"
  } >"$fwdir/PrivateInterfaces/${fw}Config.h"
  {
    echo "#ifndef ${fw}Priv_H"
    echo "#define ${fw}Priv_H"
    echo "#include \"${fw}Types.h\""
    echo "#include \"${fw}Config.h\""
    echo "static inline int ${fw}_sum(const ${fw}_id_t* id)"
    echo "{"
    echo "    int s = id->value;"
    echo "    for (size_t i = 0; i < ${fw}_PARTS; ++i)"
    echo "        s += id->parts[i];"
    echo "    return s;"
    echo "}"
    echo "#endif"
  } >"$fwdir/PrivateInterfaces/${fw}Priv.h"
  echo '!<zbRTViewData> v1.0.0' >"$fwdir/various/$os/framework.data"
  echo "DAT/000/CUS IdentityCard|$fw/IdentityCard" >>"$fwdir/various/$os/framework.data"
  for ((m = 0; m < nmod; m++)); do write_module "$f" "$m"; done
}

# write_module F M: the module's header, description, sources and data.
write_module() {
  local f="$1" m="$2" fw mod mdir k
  fwname fw "$f"
  printf -v mod 'Mod%02d' "$m"
  mdir="$dir/$fw/$mod.m"
  mkdir -p "$mdir/src" "$dir/$fw/various/$os/$mod.m"
  {
    echo "#ifndef ${fw}${mod}_H"
    echo "#define ${fw}${mod}_H"
    echo "#include \"${fw}Types.h\""
    for ((k = 0; k < nsrc; k++)); do echo "int ${fw}_${mod}_f$k(${fw}_id_t* id, int n);"; done
    echo "#endif"
  } >"$dir/$fw/PublicInterfaces/${fw}${mod}.h"
  {
    echo "# $fw/$mod.m: module $m of framework $fw."
    echo '#include "Framework.mk"'
    echo "MODULE = $mod"
    printf 'SOURCES ='
    for ((k = 0; k < nsrc; k++)); do printf ' %s_%d.c' "$mod" "$k"; done
    echo
    echo 'USED_FRAMEWORKS = $(FW_PREREQS)'
    echo 'INCLUDES = $(FW)/PrivateInterfaces $(FW)/PublicInterfaces'
    rnd 2
    if [ "$r" -eq 0 ]; then
      echo '#if ZBWS_TRACES'
      echo 'MODULE_CFLAGS = -DWITH_TRACES=1'
    else
      echo '#if ZBWS_LEVEL >= 2'
      echo 'MODULE_CFLAGS = -DLEVEL_TWO=1'
    fi
    echo '#else'
    echo 'MODULE_CFLAGS ='
    echo '#endif'
    echo 'CFLAGS = $(WS_CFLAGS) $(FW_CFLAGS) $(MODULE_CFLAGS) -DMODULE_NAME=$(MODULE)'
  } >"$mdir/Imakefile.mk"
  {
    echo '!<zbRTViewData> v1.0.0'
    for ((k = 0; k < nsrc; k++)); do
      echo "INT/000/QXI $mod.m/Objects/${mod}_$k.o|$fw/objects/$mod/${mod}_$k.o"
    done
  } >"$dir/$fw/various/$os/$mod.m/module.data"
  for ((k = 0; k < nsrc; k++)); do write_source "$f" "$m" "$k"; done
}

# write_source F M K: source K of module M of framework F.
write_source() {
  local f="$1" m="$2" k="$3" fw mod other pn calls=() c prereqs
  fwname fw "$f"
  printf -v mod 'Mod%02d' "$m"
  {
    echo "/* $fw/$mod.m/src/${mod}_$k.c */"
    echo "#include \"${fw}${mod}.h\""
    rnd 2
    if [ "$r" -eq 0 ]; then
      echo "#include \"${fw}Priv.h\""
      calls+=("${fw}_sum(id)")
    fi
    rnd 2
    if [ "$r" -eq 0 ] && [ "$nmod" -gt 1 ]; then
      rnd "$nmod"
      printf -v other '%sMod%02d' "$fw" "$r"
      echo "#include \"$other.h\""
    fi
    read -ra prereqs <<<"${closure[f]}"
    if [ "${#prereqs[@]}" -gt 0 ]; then
      rnd "${#prereqs[@]}"
      fwname pn "${prereqs[r]}"
      rnd 10
      if [ "$r" -lt 3 ]; then
        echo "#include \"$pn.h\""
      else
        rnd "$nmod"
        printf '#include "%sMod%02d.h"\n' "$pn" "$r"
      fi
      calls+=("(int)sizeof(${pn}_id_t)")
    fi
    echo
    echo "int ${fw}_${mod}_f$k(${fw}_id_t* id, int n)"
    echo "{"
    echo "    int total = 0;"
    echo "    for (int i = 0; i < n; ++i)"
    echo "    {"
    echo "        total += id->parts[i % 4] * (i + $k);"
    echo "        if (total > 1000)"
    echo "            total -= id->value;"
    echo "    }"
    for c in "${calls[@]}"; do echo "    total += $c;"; done
    echo "#ifdef WITH_TRACES"
    echo "    total += 1;"
    echo "#endif"
    echo "    return total;"
    echo "}"
  } >"$dir/$fw/$mod.m/src/${mod}_$k.c"
}

for ((f = 0; f < nfw; f++)); do write_framework "$f"; done
