#!/usr/bin/env bash
# scripts/install-test.sh BUILD_DIR: installs a build into a temporary
# prefix and uses it as another project would, from directories that have
# never seen the build tree: the installed files name neither the build nor
# the source tree, run paths are $ORIGIN-relative, the SONAMEs are versioned,
# the installed headers compile on their own, examples/consumer builds once
# through find_package and once through pkg-config and runs, examples/wsbuild
# builds through find_package and passes its test, and the installed zbsvc
# finds the installed catalog and XML keys file with the environment the
# tree's own script sets.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
work="$(mktemp -d /tmp/zbinstall.XXXXXX)"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
jobs="$(nproc 2>/dev/null || echo 2)"

passed=0 failed=0
# check NAME COMMAND...: runs COMMAND quietly, counts and names a failure
# with its output.
check() {
  local name="$1"; shift
  if "$@" >"$work/out" 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "install-test: FAILED: $name"
    sed 's/^/  /' "$work/out" | tail -n 30
  fi
}

# Building zbsvc alone (as scripts/demo.sh does) builds what its
# installation needs besides the libraries: its manual page and completion.
zbsvc_target_complete() {
  ninja -C "$build" -t commands zbsvc >"$work/commands" &&
    grep -q -- ' --man' "$work/commands" && grep -q -- ' --completion' "$work/commands"
}
no_tree_paths() {
  ! grep -rlF -e "$root" -e "$build" "$prefix"
}
origin_run_paths() {
  local f bad=0
  for f in $(find "$prefix/bin" "$prefix/lib" -type f \( -perm -u+x -o -name '*.so*' \)); do
    readelf -d "$f" | sed -n 's/.*R\(UN\)\{0,1\}PATH.*\[\(.*\)\]/\2/p' | tr ':' '\n' |
      grep -v '^\$ORIGIN' | sed "s|^|$f: |" | grep . && bad=1
  done
  return $bad
}
sonames() {
  local lib
  for lib in QORZbServices KX0CORE; do
    [ -L "$prefix/lib/lib$lib.so" ] && [ -L "$prefix/lib/lib$lib.so.1" ] || return 1
    readelf -d "$prefix/lib/lib$lib.so.1" | grep -q "Library soname: \[lib$lib.so.1\]" || return 1
  done
}
headers_alone() {
  local h
  for h in "$prefix"/include/zbzb/*.h; do echo "#include \"$(basename "$h")\""; done >"$work/all.cpp"
  c++ -std=c++17 -fsyntax-only -Wall -Wextra -Werror -I"$prefix/include/zbzb" "$work/all.cpp"
}
consumer_cmake() {
  cp -r "$root/examples/consumer" "$work/cmake-src" &&
    cmake -S "$work/cmake-src" -B "$work/cmake-build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" &&
    cmake --build "$work/cmake-build" -j "$jobs"
}
# The version file: same major version only (requested version, found?).
package_versions() {
  local row version want got
  mkdir -p "$work/versions"
  for row in 1.0:yes 1.0.0:yes 0.9:no 2.0:no; do
    version="${row%:*}" want="${row#*:}"
    printf '%s\n' 'cmake_minimum_required(VERSION 3.20)' 'project(versions LANGUAGES NONE)' \
      "find_package(QORZbServices $version CONFIG QUIET)" \
      'if(TARGET QORZbServices::QORZbServices AND TARGET QORZbServices::KX0CORE)' \
      '  message(STATUS "found: yes")' 'else()' '  message(STATUS "found: no")' 'endif()' \
      >"$work/versions/CMakeLists.txt"
    got="$(cmake -S "$work/versions" -B "$work/versions/$version" -DCMAKE_PREFIX_PATH="$prefix" |
      sed -n 's/^-- found: //p')"
    [ "$got" = "$want" ] || { echo "find_package(QORZbServices $version): found $got, expected $want"; return 1; }
  done
}
# Built through pkg-config alone, the consumer finds the libraries at run
# time (the run path of the package's libdir).
consumer_pkgconfig() {
  cp -r "$root/examples/consumer" "$work/make-src" &&
    PKG_CONFIG_PATH="$prefix/lib/pkgconfig" make -C "$work/make-src"
}
wsbuild_cmake() {
  cp -r "$root/examples/wsbuild" "$work/wsbuild-src" &&
    cmake -S "$work/wsbuild-src" -B "$work/wsbuild-build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" &&
    cmake --build "$work/wsbuild-build" -j "$jobs"
}
# Its test, with the installed zbsvc.
wsbuild_test() {
  PATH="$prefix/bin:$PATH" bash "$root/examples/wsbuild/test-wsbuild.sh" "$work/wsbuild-build/zbwsbuild"
}
# runs PROGRAM: a good run prints its text and leaves a well-formed trace;
# a failing action gives 1 and is reported on standard error and in the trace.
runs() {
  local program="$1" text="a text with 'quotes' and \$dollars"
  cd "$work" &&
    [ "$("$program" -xml "$work/ok.xml" -o "$work/out.txt" "$text")" = "$text" ] &&
    xmllint --noout "$work/ok.xml" || return 1
  "$program" -xml "$work/bad.xml" -o "$work/missing/out.txt" "$text" 2>"$work/err"
  [ $? -eq 1 ] && grep -q 'action write failed' "$work/err" &&
    xmllint --noout "$work/bad.xml" && grep -q '<Error Message="zbconsumer: action write' "$work/bad.xml"
}
# The tree's environment script sets what the library needs, with values
# for this prefix; without it, zbsvc names the script before the library's
# fatal report.
environment_script() {
  cd "$work" &&
    env -i sh -c ". '$prefix/share/zbzb/env.sh' && '$prefix/bin/zbsvc' context" >"$work/context" &&
    grep -qF "Current Install path = [$prefix/share/zbzb]" "$work/context" || return 1
  env -i "$prefix/bin/zbsvc" context 2>"$work/err"
  [ $? -eq 1 ] && grep -qxF "zbsvc: for this installation: . $prefix/share/zbzb/env.sh" "$work/err"
}
# The installed zbsvc finds the installed catalog (a known message, and
# systError for a missing file) and the installed XML keys file.
installed_zbsvc() {
  cd "$work" &&
    "$prefix/bin/zbsvc" msg zbzbFatal.InternalLine 'x > 0' 42 zbInstall | grep -q 'x > 0' ||
    return 1
  "$prefix/bin/zbsvc" -xml "$work/zbsvc.xml" crc "$work/no-such-file" 2>"$work/err"
  [ $? -eq 1 ] && grep -q 'no-such-file' "$work/err" && xmllint --noout "$work/zbsvc.xml" &&
    grep -q 'no-such-file' "$work/zbsvc.xml"
}

# Not stripped: the debug information must not name the trees either.
if ! cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log"
  echo "0 passed, 1 failed"
  exit 1
fi
# The environment of the installed tree, from its own script.
. "$prefix/share/zbzb/env.sh"
unset QOR_MSGCATALOG_PATH

check "building zbsvc alone writes its manual page and completion" zbsvc_target_complete
check "no path into the build or source tree in the installed files" no_tree_paths
check "run paths are \$ORIGIN-relative" origin_run_paths
check "versioned SONAMEs and their links" sonames
check "the installed headers compile on their own" headers_alone
check "find_package accepts the same major version only" package_versions
check "the consumer builds through find_package" consumer_cmake
check "the consumer built through find_package runs" runs "$work/cmake-build/zbconsumer"
check "the consumer builds through pkg-config" consumer_pkgconfig
check "the consumer built through pkg-config runs" runs "$work/make-src/zbconsumer"
check "the installed environment script is the tree's" environment_script
check "zbwsbuild builds through find_package" wsbuild_cmake
check "zbwsbuild built through find_package passes its test" wsbuild_test
check "the installed zbsvc finds the installed catalog and keys file" installed_zbsvc
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
