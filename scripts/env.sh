# The ZbzbOS_* environment of the example install tree, which the library
# needs to load.  Sourced, from bash or any POSIX shell:
#
#     . scripts/env.sh              # from the top of the tree
#     ZB_ROOT=/path/to/tree . /path/to/tree/scripts/env.sh   # from anywhere
#
# The top of the tree is ZB_ROOT when the caller sets it; otherwise, under
# bash, the directory above this file; otherwise (a POSIX shell cannot tell
# a sourced file its own path) the current directory when it holds
# scripts/env.sh, else the directory above the running script ($0), for a
# script of scripts/ that sources this file.
if [ -n "${ZB_ROOT:-}" ]; then
  zb_env_root="$ZB_ROOT"
elif [ -n "${BASH_VERSION:-}" ]; then
  eval 'zb_env_root="$(dirname "${BASH_SOURCE[0]}")/.."'
elif [ -f scripts/env.sh ]; then
  zb_env_root=.
else
  zb_env_root="$(dirname "$0")/.."
fi
if ! zb_env_root="$(cd "$zb_env_root" 2>/dev/null && pwd)" ||
   [ ! -d "$zb_env_root/examples/install" ]; then
  echo "env.sh: cannot find the top of the tree: set ZB_ROOT to it" >&2
  unset zb_env_root
  return 1 2>/dev/null || exit 1
fi
export ZbzbINSTALL_PATH="$zb_env_root/examples/install"
export ZbzbOS_Buildtime=linux_b64
export ZbzbOS_Runtime=code
export ZbzbOS_DOC=doc
export ZbzbOS_NAME=Linux
export ZbzbOS_Type=linux
export ZbzbOS_BitMode=64
unset zb_env_root
