#!/usr/bin/env bash
# scripts/deb-check.sh [BUILD_DIR]: makes the Debian package of a build
# (cpack -G DEB), installs it on this machine with apt-get, runs the
# installed zbsvc from /usr/bin with the environment the package's script
# sets (/usr/share/zbzb/env.sh), removes the package and checks that
# nothing of it is left: no file, no link, no directory of its own, no
# record in dpkg.  Needs root; not part of the
# tests, since it changes the machine.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
name=qorzbservices
work="$(mktemp -d /tmp/zbdeb.XXXXXX)"
trap 'rm -rf "$work"' EXIT
export DEBIAN_FRONTEND=noninteractive

status() { dpkg-query -W -f='${db:Status-Abbrev}' "$name" 2>/dev/null; }
if [ -n "$(status | tr -d ' u')" ]; then
  echo "deb-check: $name is already known to dpkg ($(status)): remove it first" >&2
  exit 1
fi
(cd "$build" && cpack -G DEB >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb="$(ls "$build"/${name}_*.deb | tail -n 1)"

passed=0 failed=0
check() {
  local label="$1"; shift
  if "$@" >"$work/out" 2>&1; then
    passed=$((passed + 1)); echo "deb-check: ok: $label"
  else
    failed=$((failed + 1)); echo "deb-check: FAILED: $label"; sed 's/^/  /' "$work/out"
  fi
}
runs_from_usr_bin() {
  cd "$work" && . /usr/share/zbzb/env.sh &&
    [ "$(command -v zbsvc)" = /usr/bin/zbsvc ] && zbsvc context &&
    zbsvc msg zbzbFatal.InternalLine 'x > 0' 42 zbDeb | grep -q 'x > 0'
}
nothing_left() {
  local f left=0
  [ -z "$(status | tr -d ' u')" ] || { echo "dpkg still records $name: $(status)"; left=1; }
  while read -r f; do
    [ "$f" = /. ] && continue
    [ -e "$f" ] || [ -L "$f" ] || continue
    # A directory that other packages share stays.
    [ -d "$f" ] && [ ! -L "$f" ] && dpkg -S "$f" >/dev/null 2>&1 && continue
    echo "left behind: $f"; left=1
  done <"$work/files"
  return $left
}

check "apt-get install $(basename "$deb")" apt-get install -y -qq "$deb"
dpkg -L "$name" >"$work/files" 2>/dev/null
check "zbsvc runs from /usr/bin with the package's environment script" runs_from_usr_bin
check "apt-get remove $name" apt-get remove -y -qq "$name"
check "nothing of the package is left" nothing_left
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
