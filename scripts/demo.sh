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
