#!/usr/bin/env bash
# scripts/build.sh DIR [--target NAME]... [CMAKE OPTIONS...]: configures DIR
# (once; the options apply then) and builds the named targets, or everything.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$1"; shift
targets=()
while [ $# -ge 2 ] && [ "$1" = --target ]; do
  targets+=(--target "$2"); shift 2
done
jobs="$(nproc 2>/dev/null || echo 2)"
cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
cmake --build "$dir" -j "$jobs" "${targets[@]}"
