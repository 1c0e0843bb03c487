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

echo "\$ zbsvc msg -k zbzbWarning zbzbFatal.InternalLine 'x > 0' 42 zbDemo"
"$zbsvc" msg -k zbzbWarning zbzbFatal.InternalLine 'x > 0' 42 zbDemo

echo "\$ zbsvc crc README.md"
"$zbsvc" crc README.md
