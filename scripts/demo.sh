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
