# Sourced by the scripts: the ZbzbOS_* environment of the example install
# tree, which the library needs to load.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ZbzbINSTALL_PATH="$root/examples/install"
export ZbzbOS_Buildtime=linux_b64
export ZbzbOS_Runtime=code
export ZbzbOS_DOC=doc
export ZbzbOS_NAME=Linux
export ZbzbOS_Type=linux
export ZbzbOS_BitMode=64
