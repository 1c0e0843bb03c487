#!/usr/bin/env bash
# scripts/memcheck.sh LOG_DIR PROGRAM [ARGS...]: runs PROGRAM under
# valgrind's memcheck, and every program of the build it starts too (the
# suites run zbsvc and the probes as children).  System tools and scripts
# are run natively.  Each process writes its own report LOG_DIR/PID.log; the
# run fails when PROGRAM fails or when any report counts an error (a definite
# leak counts as one).  The reports with errors are printed, and so is
# PROGRAM's failure, unless ZB_MEMCHECK_SILENT_STATUS is set (a caller that
# checks the status itself: the transcripts).
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
logs="$1"; shift
rm -rf "$logs" && mkdir -p "$logs" || exit 2

# Only the programs of the build are followed: valgrind cannot be told to
# follow some paths only, so every other place a child can come from is
# skipped (each pattern is matched against the path given to exec).  A
# directory that holds the tree itself (a clone in /tmp) cannot be skipped
# whole, or no child would be followed: there only the scratch directories
# the suites make are skipped.
skip="$root/scripts/*,$root/examples/*,$root/fuzz/*,$root/benchmarks/*"
for dir in /usr /bin /sbin /lib /etc /opt /tmp /var /proc; do
  case "$root/" in
    "$dir"/*) skip+=",$dir/zbtest.*,$dir/zbtranscript.*,$dir/tmp.*" ;;
    *) skip+=",$dir/*" ;;
  esac
done

# A stopping signal sent to this script goes to the program, so that its
# status is the program's own (a server that ends with the signal's number);
# the program keeps this script's standard input.
valgrind --tool=memcheck \
  --trace-children=yes --trace-children-skip="$skip" --child-silent-after-fork=yes \
  --error-exitcode=99 --leak-check=full --show-leak-kinds=definite \
  --errors-for-leak-kinds=definite --track-fds=no --num-callers=30 \
  --suppressions="$root/scripts/memcheck.supp" \
  --log-file="$logs/%p.log" "$@" <&0 &
program=$!
for signal in INT TERM HUP; do trap "kill -$signal $program 2>/dev/null" $signal; done
while :; do
  wait "$program"
  status=$?
  kill -0 "$program" 2>/dev/null || break
done

bad=0
for log in "$logs"/*.log; do
  [ -s "$log" ] || continue
  if grep -q "ERROR SUMMARY: [1-9]" "$log"; then
    echo "== memcheck: $log" >&2
    cat "$log" >&2
    bad=1
  fi
done
[ $status -ne 0 ] && [ -z "${ZB_MEMCHECK_SILENT_STATUS:-}" ] &&
  echo "== memcheck: $* exited with $status" >&2
[ $bad -ne 0 ] && [ $status -eq 0 ] && status=99
exit $status
