#!/usr/bin/env bash
# Sets up the machine, builds, and runs zbsvc on the example install tree:
# one command per everyday job of the tool family.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/setup.sh
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
. scripts/env.sh
zbsvc="$root/build/bin/zbsvc"
work="$(mktemp -d /tmp/zbdemo.XXXXXX)"
trap 'rm -rf "$work"' EXIT

# Prints a command as the shell would show it, then runs it.
show() {
  echo
  echo "\$ zbsvc $*"
  "$zbsvc" "$@"
}

show --version
show help block pack
show context
show context -v
Zbzb_SPKLEVEL=2 show version -level "$root/examples/install/code/tools/data"
show msg -k zbzbWarning zbzbFatal.InternalLine 'x > 0' 42 zbDemo
show crc README.md
printf 'through a pipe\n' | show crc -
show ls -r -f "$root/examples"

show macros -solve -I examples/macros/include examples/macros/demo.mk
show pp -level examples/pp/levels.lvl -expand -I examples/pp/include examples/pp/demo.mk

printf 'cached data\n' >"$work/data"
show block pack -crypt -v 1.2.3 "$work/data" "$work/data.blk"
show block info "$work/data.blk"

mkdir -p "$work/ws/Fw/PublicInterfaces" "$work/ws/Fw/PrivateInterfaces"
touch "$work/ws/Fw/PublicInterfaces/"{Fw.h,FwTypes.h} "$work/ws/Fw/PrivateInterfaces/FwImpl.h"
show hlist -ws "$work/ws" -o "$work/Fw.hl" Fw/PublicInterfaces Fw/PrivateInterfaces
cat "$work/Fw.hl"
show hmap -o "$work/map" "+$work/ws=$work/Fw.hl"
show find -map "$work/map" FwTypes.h FwImpl.h
show ls -r -f -x '*.h' -x 'Fw.hl' "$work"

echo
echo "# An XML trace of a run with a failure (the missing file is reported):"
show -xml "$work/trace.xml" crc README.md no-such-file || true
cat "$work/trace.xml"
