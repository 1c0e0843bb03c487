#!/usr/bin/env bash
# scripts/check-packages.sh [BUILD_DIR ...]: checks that the builds in the
# given Ninja build directories (default: build) took from the system only
# what a fresh machine has or scripts/setup.sh installs.
#
# It collects the system files each build used: the headers the compiler
# read (ninja's dependency log), the libraries named by path on the link
# lines, and the programs the build and the tests run (compilers, archiver,
# linker, flex, xmllint, valgrind, cmake, ctest, ninja, as the build's cache records
# them, and those scripts/install-test.sh runs: make, pkg-config, readelf).  It finds the Debian package of each (dpkg -S) and fails, naming
# the package and one of its files, for every package that is neither in
# the setup list, nor a dependency of one in it, nor in the fresh-image
# list.  A file that belongs to no package fails too.
#
#   ZB_SETUP_PACKAGES  the setup list (default scripts/setup-packages.txt)
#   ZB_FRESH_PACKAGES  the packages of a fresh machine, as "apt NAME VERSION"
#                      lines (default scripts/fresh-image-packages.txt)
#
# A compiler launcher (CMAKE_CXX_COMPILER_LAUNCHER) is the developer's own
# choice and not a need of the build: it is not checked.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
setup_list="${ZB_SETUP_PACKAGES:-$root/scripts/setup-packages.txt}"
fresh_list="${ZB_FRESH_PACKAGES:-$root/scripts/fresh-image-packages.txt}"
[ $# -gt 0 ] || set -- "$root/build"

fail() { echo "check-packages: $*" >&2; exit 1; }

# Programs recorded in the cache of a build.
tools='CMAKE_CXX_COMPILER|CMAKE_C_COMPILER|CMAKE_AR|CMAKE_RANLIB|CMAKE_LINKER|CMAKE_COMMAND|CMAKE_CTEST_COMMAND|CMAKE_MAKE_PROGRAM|FLEX_EXECUTABLE|ZB_XMLLINT|ZB_VALGRIND_PROGRAM'

files=()
for program in make pkg-config readelf; do
  files+=("$(command -v "$program" || echo "/usr/bin/$program")")
done
for dir in "$@"; do
  dir="$(cd "$dir" 2>/dev/null && pwd)" || fail "$dir: no such build directory"
  [ -f "$dir/CMakeCache.txt" ] && [ -f "$dir/.ninja_deps" ] ||
    fail "$dir: not a Ninja build directory that has been built"
  mapfile -t -O "${#files[@]}" files < <(
    {
      ninja -C "$dir" -t deps | sed -n 's|^ *\(/.*\)|\1|p'
      ninja -C "$dir" -t commands | tr ' ' '\n' | grep -E '^/.*\.(a|so[.0-9]*)$' || true
      sed -nE "s/^($tools):[A-Z]+=(\/.*)$/\2/p" "$dir/CMakeCache.txt"
    } | grep -v -e "^$root/" -e "^$dir/" | sort -u)
done
[ ${#files[@]} -gt 0 ] || fail "no system file recorded in $*"

# The names dpkg may know a file by: the path made plain, the path with
# every link resolved (/usr/bin/c++ is an alternative), and both without a
# leading /usr (packages that still ship in /bin and /lib).
mapfile -t plain < <(realpath -m -s "${files[@]}")
mapfile -t resolved < <(realpath -m "${files[@]}")
declare -A owner=()
# One dpkg call for all of them; "PKG[:ARCH][, PKG...]: PATH" per owned path.
while IFS= read -r line; do
  case "$line" in diversion\ *) continue ;; esac
  owner["${line#*: }"]="${line%%: *}"
done < <(printf '%s\n' "${plain[@]}" "${resolved[@]}" "${plain[@]#/usr}" "${resolved[@]#/usr}" |
  grep '^/' | sort -u | tr '\n' '\0' | xargs -0 dpkg -S 2>/dev/null || true)

# The packages allowed: the setup list, everything it depends on, and the
# fresh machine's.
mapfile -t setup < <(sed -e 's/#.*//' -e '/^[[:space:]]*$/d' "$setup_list" | awk '{print $1}')
[ ${#setup[@]} -gt 0 ] || fail "$setup_list: no package listed"
declare -A allowed=()
while read -r p; do allowed["$p"]=1; done < <(
  {
    apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts \
      --no-breaks --no-replaces --no-enhances "${setup[@]}" | grep -v '^ ' | tr -d '<>'
    awk -F'\t' '$1 == "apt" { print $2 }' "$fresh_list"
  } | sed 's/:.*//')
for p in "${setup[@]}"; do allowed["$p"]=1; done

status=0
declare -A reported=()
for i in "${!files[@]}"; do
  f="${files[$i]}" pkgs=""
  for c in "${plain[$i]}" "${resolved[$i]}" "${plain[$i]#/usr}" "${resolved[$i]#/usr}"; do
    [ -n "${owner[$c]:-}" ] && { pkgs="${owner[$c]}"; break; }
  done
  if [ -z "$pkgs" ]; then
    echo "check-packages: $f belongs to no Debian package" >&2
    status=1
    continue
  fi
  ok=0 first=""
  IFS=',' read -ra list <<<"$pkgs"
  for p in "${list[@]}"; do
    p="${p# }"; p="${p%%:*}"
    [ -n "$first" ] || first="$p"
    [ -n "${allowed[$p]:-}" ] && ok=1
  done
  if [ $ok -eq 0 ] && [ -z "${reported[$first]:-}" ]; then
    reported["$first"]=1
    echo "check-packages: $first (for $f) is neither in $(basename "$setup_list"), nor a dependency of it, nor on a fresh machine" >&2
    status=1
  fi
done
[ $status -ne 0 ] || echo "check-packages: ${#files[@]} system files, all from packages setup installs or a fresh machine has"
exit $status
