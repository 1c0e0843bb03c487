#!/usr/bin/env bash
# examples/wsbuild/test-wsbuild.sh ZBWSBUILD: zbwsbuild on generated
# workspaces of 3 frameworks (3 modules of 4 sources each), with the
# ZbzbOS_* environment set.  zbsvc is the one beside ZBWSBUILD, else the
# one of PATH.  Prints each failed check; the status is the number failed.
set -uo pipefail
tool="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
root="$(cd "$(dirname "$0")/../.." && pwd)"
zbsvc="$(dirname "$tool")/zbsvc"
[ -x "$zbsvc" ] || zbsvc="$(command -v zbsvc)"
work="$(mktemp -d /tmp/zbwsbuild-test.XXXXXX)"
trap 'rm -rf "$work"' EXIT
ws="$work/ws" out="$work/out" failed=0
fail() { echo "test-wsbuild: FAILED: $*"; failed=$((failed + 1)); }
gen() { bash "$root/scripts/gen-workspace.sh" "$1" 3 3 4 >/dev/null; }
# build [ARGUMENT...]: zbwsbuild on $ws into $out, its output in $work/log.
build() { "$tool" -j 2 "$@" -o "$out" "$ws" >"$work/log" 2>&1; }
# compiled: the sources the last build compiled, sorted.
compiled() { sed -n 's/^compile //p' "$work/log" | sort; }
sources() { (cd "$ws" && ls -1 ./*/*.m/src/*.c | sed 's|^\./||'); }
objects() { sources | sed 's|/src/\(.*\)\.c$|/Objects/\1.o|'; }
# reaching HEADER: the sources whose compilation the compiler's -M says
# reads HEADER (the commands as benchmarks/wsbuild-ninja.sh derives them).
reaching() {
  ZBSVC="$zbsvc" bash "$root/benchmarks/wsbuild-ninja.sh" "$ws" | sed -n 's/^  cmd = //p' |
    while read -r cmd; do
      (cd "$ws" && eval "${cmd% -o *} -o /dev/null -M -MF $work/deps") &&
        tr -s ' \\\n' '\n' <"$work/deps" | grep -qx "$1" && echo "${cmd##* -c }" | sed 's/ -o .*//'
    done | sort
}
# later_than_objects: the clock has left the second of every object (a
# listing records seconds).
later_than_objects() {
  local newest
  newest="$(cd "$ws" && objects | xargs stat -c %Y | sort -n | tail -n 1)"
  until [ "$(date +%s)" -gt "$newest" ]; do sleep 0.1; done
}

gen "$ws"
build || fail "first build: $(cat "$work/log")"
[ "$(compiled)" = "$(sources | sort)" ] || fail "the first build compiles every source once"
(cd "$ws" && objects | xargs ls >/dev/null) || fail "every object is there"
build && [ -z "$(compiled)" ] && grep -q 'up to date' "$work/log" || fail "a second run starts nothing"

# The runtime view written with the installation is zbsvc rtview's, and
# every element of it is installed.
for fw in "$ws"/Fw*; do
  name="$(basename "$fw")"
  "$zbsvc" rtview -os "$ZbzbOS_Buildtime" -o "$work/$name.rtview" "$fw" >/dev/null &&
    cmp -s "$work/$name.rtview" "$out/InstallData/$name.rtview" || fail "$name: runtime view"
  sed -n '2,$s/^[^|]*|//p' "$work/$name.rtview"
done | sort >"$work/view"
[ "$(cut -d' ' -f2 "$out/InstallData/install.lsout")" = "$(cat "$work/view")" ] ||
  fail "the listing names every element of the views"

# Through the cluster, the same objects.
if [ -n "${SLURM_CONF:-}" ] && timeout 20 sinfo -h >/dev/null 2>&1; then
  gen "$work/slurm"
  "$tool" -j 4 -engine slurm "$work/slurm" >"$work/slurm.log" 2>&1 || fail "slurm: $(cat "$work/slurm.log")"
  for object in $(objects); do cmp -s "$ws/$object" "$work/slurm/$object" || fail "slurm: $object"; done
else
  echo "test-wsbuild: no Slurm cluster (SLURM_CONF), its check skipped"
fi

# One header: exactly the sources the compiler says read it, and the
# listing's difference names exactly their installed objects.
header=Fw001/PublicInterfaces/Fw001Types.h
reaching "$header" >"$work/expected"
[ -s "$work/expected" ] && [ "$(wc -l <"$work/expected")" -lt "$(sources | wc -l)" ] ||
  fail "$header is read by some sources, not all"
later_than_objects
touch "$ws/$header"
build && [ "$(compiled)" = "$(cat "$work/expected")" ] || fail "touching $header: $(compiled)"
[ "$(sed -n 's/^changed \([^ ]*\) .*/\1/p' "$work/log")" = "$(compiled | sed 's|\([^/]*\)/\(.*\)\.m/src/\(.*\)\.c|\1/objects/\2/\3.o|')" ] ||
  fail "lsdiff after touching $header: $(cat "$work/log")"

# A macro that changes the command rebuilds its module; a comment alone
# rebuilds nothing.
sed -i 's/-DMODULE_NAME=/-DCHANGED=1 &/' "$ws/Fw001/Mod01.m/Imakefile.mk"
echo '# a comment' >>"$ws/Fw002/Mod02.m/Imakefile.mk"
build && [ "$(compiled)" = "$(sources | grep '^Fw001/Mod01.m/' | sort)" ] ||
  fail "a changed command: $(compiled)"

# A syntax error fails that compilation alone, named; the next run compiles
# it alone once fixed.
broken=Fw000/Mod01.m/src/Mod01_2.c
cp "$ws/$broken" "$work/saved.c"
echo 'int broken(' >>"$ws/$broken"
touch "$ws/Fw000/PublicInterfaces/Fw000Types.h"
build
[ $? -eq 1 ] && [ "$(grep -c 'compilation failed' "$work/log")" -eq 1 ] &&
  grep -q "$broken: compilation failed" "$work/log" && grep -q 'error' "$work/log" &&
  [ "$(cd "$ws" && objects | xargs ls 2>&1 >/dev/null)" != "" ] &&
  [ "$(cd "$ws" && objects | grep -v Mod01_2 | xargs ls 2>&1 >/dev/null)" = "" ] ||
  fail "a syntax error: $(cat "$work/log")"
cp "$work/saved.c" "$ws/$broken"
build && [ "$(compiled)" = "$broken" ] || fail "the fixed source alone: $(compiled)"

# SIGINT: every compilation stopped, the block of the run before unchanged,
# the next run does what was left.  The compiler says it started in
# $work/started, then waits for $work/go.
printf '#!/bin/sh\ntouch "%s/started/$$"\nwhile [ ! -e "%s/go" ]; do sleep 0.05; done\nexec "$@"\n' \
  "$work" "$work" >"$work/slowcc"
sed -i "s|^CC = .*|CC = sh $work/slowcc cc|" "$ws/Workspace.mk"
mkdir "$work/started" && touch "$work/go"
build || fail "a build through the waiting compiler"
cp "$ws/Objects/zbwsbuild.blk" "$work/block"
rm -f "$work/go" "$work/started"/*
touch "$ws/Fw000/PublicInterfaces/Fw000Types.h"
set -m # a job of its own, which SIGINT reaches
"$tool" -j 2 "$ws" >"$work/log" 2>&1 &
pid=$!
set +m
for ((i = 0; i < 600 && $(ls "$work/started" | wc -l) < 2; i++)); do sleep 0.1; done
kill -INT "$pid"
wait "$pid"
status=$?
running=0
for started in "$work"/started/*; do kill -0 "${started##*/}" 2>/dev/null && running=1; done
[ "$status" -eq 2 ] && [ "$running" -eq 0 ] || fail "SIGINT: status $status, compilers left: $running"
"$zbsvc" block info "$ws/Objects/zbwsbuild.blk" >/dev/null && cmp -s "$work/block" "$ws/Objects/zbwsbuild.blk" ||
  fail "SIGINT: the block changed"
expected="$(compiled)"
touch "$work/go"
build && [ "$(compiled)" = "$expected" ] && (cd "$ws" && objects | xargs ls >/dev/null) ||
  fail "the run after SIGINT: $(compiled)"
exit "$failed"
