#!/usr/bin/env bash
# Sets up the machine, builds, and runs zbsvc on the example install tree.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/setup.sh
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
. scripts/env.sh
zbsvc="$root/build/bin/zbsvc"

echo "\$ zbsvc context"
"$zbsvc" context

echo
echo "\$ zbsvc macros -solve -I examples/macros/include examples/macros/demo.mk"
"$zbsvc" macros -solve -I examples/macros/include examples/macros/demo.mk
echo "\$ zbsvc ls -r -f examples"
"$zbsvc" ls -r -f "$root/examples"
demo_dir="$(mktemp -d /tmp/zbdemo.XXXXXX)"
printf 'cached data\n' >"$demo_dir/data"
echo "\$ zbsvc block pack -crypt -v 1.2.3 data data.blk && zbsvc block info data.blk"
"$zbsvc" block pack -crypt -v 1.2.3 "$demo_dir/data" "$demo_dir/data.blk"
"$zbsvc" block info "$demo_dir/data.blk"
rm -rf "$demo_dir"
echo "\$ zbsvc msg -k zbzbWarning zbzbFatal.InternalLine 'x > 0' 42 zbDemo"
"$zbsvc" msg -k zbzbWarning zbzbFatal.InternalLine 'x > 0' 42 zbDemo

echo "\$ zbsvc crc README.md"
"$zbsvc" crc README.md

echo "\$ zbsvc context -v"
"$zbsvc" context -v
trace_dir="$(mktemp -d /tmp/zbdemo.XXXXXX)"
echo "\$ zbsvc -xml trace.xml crc README.md no-such-file; cat trace.xml"
"$zbsvc" -xml "$trace_dir/trace.xml" crc README.md no-such-file || true
cat "$trace_dir/trace.xml"
rm -rf "$trace_dir"
hl_dir="$(mktemp -d /tmp/zbdemo.XXXXXX)"
mkdir -p "$hl_dir/ws/Fw/PublicInterfaces" "$hl_dir/ws/Fw/PrivateInterfaces"
touch "$hl_dir/ws/Fw/PublicInterfaces/"{Fw.h,FwTypes.h} "$hl_dir/ws/Fw/PrivateInterfaces/FwImpl.h"
echo "\$ zbsvc hlist -ws ws -o Fw.hl Fw/PublicInterfaces Fw/PrivateInterfaces && cat Fw.hl"
"$zbsvc" hlist -ws "$hl_dir/ws" -o "$hl_dir/Fw.hl" Fw/PublicInterfaces Fw/PrivateInterfaces
cat "$hl_dir/Fw.hl"
echo "\$ zbsvc hmap -o map +ws=Fw.hl && zbsvc find -map map FwTypes.h FwImpl.h"
"$zbsvc" hmap -o "$hl_dir/map" "+$hl_dir/ws=$hl_dir/Fw.hl"
"$zbsvc" find -map "$hl_dir/map" FwTypes.h FwImpl.h
echo "\$ zbsvc ls -r -f -x '*.h' -x 'Fw.hl' ."
"$zbsvc" ls -r -f -x '*.h' -x 'Fw.hl' "$hl_dir"
rm -rf "$hl_dir"
echo "\$ zbsvc pp -level examples/pp/levels.lvl -expand -I examples/pp/include examples/pp/demo.mk"
"$zbsvc" pp -level examples/pp/levels.lvl -expand -I examples/pp/include examples/pp/demo.mk
echo "\$ Zbzb_SPKLEVEL=2 zbsvc version -level examples/install/code/tools/data"
Zbzb_SPKLEVEL=2 "$zbsvc" version -level "$root/examples/install/code/tools/data"
