#!/usr/bin/env bash
# Sets up the machine, builds zbsvc, and runs it on the example install tree:
# one command per everyday job of the tool family.  Each command is printed
# before it runs, quoted so that it can be pasted into a shell at the top of
# the tree once the environment is set (the first two lines printed).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
work="$(mktemp -d /tmp/zbdemo.XXXXXX)"
server=""
cluster=""
trap '[ -z "$server" ] || kill "$server" 2>/dev/null; [ -z "$cluster" ] || bash scripts/slurm-local.sh down; rm -rf "$work"' EXIT

# quote WORD...: the words as a shell reads them back, quoted where needed.
quote() {
  local out="" w q="'"
  for w in "$@"; do
    case "$w" in
      "" | *[!A-Za-z0-9_@%+=:,./-]*) w="'${w//$q/$q\\$q$q}'" ;;
    esac
    out+="${out:+ }$w"
  done
  printf '%s' "$out"
}

# run [NAME=VALUE...] PROGRAM ARGUMENT...: prints the command, then runs it.
run() {
  echo
  echo "\$ $(quote "$@")"
  env "$@"
}
# run_into FILE PROGRAM ARGUMENT...: the same, standard output into FILE.
run_into() {
  local file="$1"; shift
  echo
  echo "\$ $(quote "$@") >$(quote "$file")"
  env "$@" >"$file"
}
echo "\$ cd $(quote "$root")"
echo "\$ . scripts/env.sh"
echo "# scratch files of this run: $work (removed at the end)"
run bash scripts/setup.sh
run bash scripts/build.sh build --target zbsvc --target zbwsbuild -DCMAKE_BUILD_TYPE=RelWithDebInfo
. scripts/env.sh
zbsvc=build/bin/zbsvc
# show ARGUMENT...: zbsvc with these arguments, printed, then run.
show() { run "$zbsvc" "$@"; }

# The library's main job: a workspace built (descriptions read, headers
# found, compilations run in parallel, the installation described), then
# one header touched and the workspace built again: only the objects that
# read it are compiled and installed again, as lsdiff says.
run bash scripts/gen-workspace.sh "$work/workspace" 3 3 4
run build/bin/zbwsbuild -j 2 -o "$work/install" "$work/workspace"
run cat "$work/workspace/Fw001/Mod00.m/Imakefile.mk"
sleep 1 # a listing records seconds: what is installed again must differ in time
run touch "$work/workspace/Fw001/PublicInterfaces/Fw001Mod02.h"
run build/bin/zbwsbuild -j 2 -o "$work/install" "$work/workspace"
run build/bin/zbwsbuild -j 2 -o "$work/install" "$work/workspace"

show --version
show help block pack

run "$zbsvc" context
run "$zbsvc" context -v
run Zbzb_SPKLEVEL=2 "$zbsvc" version -level "$root/examples/install/code/tools/data"
run "$zbsvc" msg -k zbzbWarning zbzbFatal.InternalLine 'x > 0' 42 zbDemo
run "$zbsvc" crc README.md
printf 'through a pipe\n' | show crc -
run "$zbsvc" ls -r -f "$root/examples"

run "$zbsvc" macros -solve -I examples/macros/include examples/macros/demo.mk
run "$zbsvc" pp -level examples/pp/levels.lvl -expand -I examples/pp/include examples/pp/demo.mk
show mdf -strip examples/mdf/demo.mdf SOURCES INCLUDES

run_into "$work/data" printf 'cached data\n'
run "$zbsvc" block pack -crypt -v 1.2.3 "$work/data" "$work/data.blk"
run "$zbsvc" block info "$work/data.blk"

run mkdir -p "$work/ws/Fw/PublicInterfaces" "$work/ws/Fw/PrivateInterfaces"
run touch "$work/ws/Fw/PublicInterfaces/"{Fw.h,FwTypes.h} "$work/ws/Fw/PrivateInterfaces/FwImpl.h"
run "$zbsvc" hlist -ws "$work/ws" -o "$work/Fw.hl" Fw/PublicInterfaces Fw/PrivateInterfaces
run cat "$work/Fw.hl"
run "$zbsvc" hmap -o "$work/map" "+$work/ws=$work/Fw.hl"
run "$zbsvc" find -map "$work/map" FwTypes.h FwImpl.h
run "$zbsvc" ls -r -f -x '*.h' -x 'Fw.hl' "$work"
# A server publishes two files in shared memory until it is stopped; the
# segment is gone once it has ended.
"$zbsvc" shm serve demo.mdf=examples/mdf/demo.mdf readme=README.md >"$work/shm" &
server=$!
until [ "$(wc -l <"$work/shm")" -ge 2 ] || ! kill -0 "$server" 2>/dev/null; do sleep 0.1; done
segment="$(head -n 1 "$work/shm")"
echo
echo "\$ zbsvc shm serve demo.mdf=examples/mdf/demo.mdf readme=README.md &"
cat "$work/shm"
show shm list "$segment"
show shm get "$segment" demo.mdf "$work/demo.mdf"
cmp "$work/demo.mdf" examples/mdf/demo.mdf && echo "(the block is the file, byte for byte)"
kill -TERM "$server"
wait "$server" || echo "(the server ended with status $?)"
server=""
if ipcs -m | awk -v id="$segment" '$2 == id { found = 1 } END { exit !found }'; then
  echo "segment $segment is still there"
else
  echo "segment $segment removed"
fi

show copytree "$work/ws/Fw" "$work/copy"
echo changed >"$work/copy/Fw/PublicInterfaces/Fw.h"
show treediff "$work/ws/Fw" "$work/copy/Fw"
show patterns -filter data -tests -fw "$work/ws/Fw" -mod '*.m*' -os linux

show rtv merge -dup -o "$work/rtview/merged.data" examples/rtview/module.data examples/rtview/framework.data
show rtv list -type Runtime,Buildtime -exp Deliverable "$work/rtview/merged.data"
show rtview -os linux_a64 examples/workspace/FwBetaLink
show rtview -os linux_a64 examples/workspace/FwAlpha || true
show rtview -os linux_a64 -os win_b64 -o "$work/rtview/FwAlpha.data" examples/workspace/FwAlpha
show modules -os linux_a64 -os win_b64 -type Runtime examples/workspace/FwAlpha
show installtype examples/workspace/FwAlpha examples/workspace/FwBeta examples/workspace/FwBetaLink
mkdir -p "$work/inst/Fw/bin" "$work/inst/Fw/lib"
printf 'tool\n' >"$work/inst/Fw/bin/tool"
printf '!<zbRTViewData> v1.0.0\nRTV/000/CUS bin/tool|Fw/bin/tool\nRTV/000/CUS lib/libFw.so|Fw/lib/libFw.so\n' >"$work/Fw.data"
show rtvstat -root "$work/inst" -o "$work/Fw.stat" "Fw=$work/Fw.data"
show rtvstat -list "$work/Fw.stat" Fw
show lsdiff examples/lists/before.lsout examples/lists/after.lsout
show lsdiff -q examples/lists/before.lsout examples/lists/before.lsout && echo "listings equal"
show run -j 2 'echo compiling a; sleep 0.2; echo a done' 'echo compiling b >&2' 'exit 3' || true

# The same run as job steps of a one-node Slurm cluster (root only).
if [ "$(id -u)" = 0 ] && ! bash scripts/slurm-local.sh conf >/dev/null 2>&1 &&
  conf="$(bash scripts/slurm-local.sh up)"; then
  cluster=started
  run SLURM_CONF="$conf" "$zbsvc" run -engine slurm -partition zbzb -j 2 'echo compiling a on $(hostname)' 'exit 3' || true
fi

echo
echo "# An XML trace of a run with a failure (the missing file is reported):"
run "$zbsvc" -xml "$work/trace.xml" crc README.md no-such-file || true
run cat "$work/trace.xml"
