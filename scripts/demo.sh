#!/usr/bin/env bash
# Sets up the machine, builds zbsvc, and runs it on the example install tree:
# one command per everyday job of the tool family.  Each command is printed
# before it runs, quoted so that it can be pasted into a shell at the top of
# the tree once the environment is set (the first two lines printed).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
work="$(mktemp -d /tmp/zbdemo.XXXXXX)"
trap 'rm -rf "$work"' EXIT

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
run bash scripts/build.sh build --target zbsvc -DCMAKE_BUILD_TYPE=RelWithDebInfo
. scripts/env.sh
zbsvc=build/bin/zbsvc

run "$zbsvc" context
run "$zbsvc" context -v
run Zbzb_SPKLEVEL=2 "$zbsvc" version -level "$root/examples/install/code/tools/data"
run "$zbsvc" msg -k zbzbWarning zbzbFatal.InternalLine 'x > 0' 42 zbDemo
run "$zbsvc" crc README.md
run "$zbsvc" ls -r -f "$root/examples"

run "$zbsvc" macros -solve -I examples/macros/include examples/macros/demo.mk
run "$zbsvc" pp -level examples/pp/levels.lvl -expand -I examples/pp/include examples/pp/demo.mk

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

echo
echo "# An XML trace of a run with a failure (the missing file is reported):"
run "$zbsvc" -xml "$work/trace.xml" crc README.md no-such-file || true
run cat "$work/trace.xml"
