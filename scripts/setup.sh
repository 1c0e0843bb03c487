#!/usr/bin/env bash
# Installs what the build and the tests need, from Debian's packages.
# Idempotent: only missing packages are installed.  Works as root or with sudo.
set -euo pipefail

packages=(
  g++ make cmake ninja-build        # compiler and build
  libgtest-dev libgmock-dev         # GoogleTest
  libbenchmark-dev                  # Google Benchmark (benchmarks/)
  flex libfl-dev                    # scanner generator of the preprocessor and its FlexLexer.h
  clang libclang-rt-14-dev          # libFuzzer targets (scripts/fuzz.sh)
  libxml2-utils                     # xmllint, checks XML trace files in tests
  man-db groff-base                 # man, checks that zbsvc's manual page renders
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "setup: missing packages (${missing[*]}) and no way to become root" >&2
  exit 1
fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
