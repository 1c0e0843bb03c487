#!/bin/sh
# Runs the hash dictionary benchmark with the environment of the example
# install tree (the library needs the ZbzbOS_* variables to load).
#   benchmarks/zbHashDicoBench.sh BUILD_DIR [benchmark options]
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?usage: $0 BUILD_DIR [options]}
shift
ZbzbINSTALL_PATH=$top/examples/install ZbzbOS_Buildtime=linux_b64 ZbzbOS_Runtime=code \
ZbzbOS_DOC=doc ZbzbOS_NAME=Linux ZbzbOS_Type=linux ZbzbOS_BitMode=64 \
    exec "$build/bin/zbHashDicoBench" --benchmark_color=false "$@"
