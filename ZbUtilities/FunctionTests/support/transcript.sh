#!/usr/bin/env bash
# transcript.sh FILE.t: runs a transcript of shell sessions and compares what
# each command prints and returns with what the file says.
#
# The file's lines:
#   text at the margin      prose: a comment, passed over (kept as it is)
#     $ COMMAND             a command, run by bash in the transcript's scratch
#     > MORE                directory; "> " lines continue it (here-documents
#                           give a command the files it needs)
#     TEXT                  a line the command writes on standard output
#     2> TEXT               a line it writes on standard error
#     [N]                   its exit status, when not 0
# An expected line ending in " (re)" is an extended regular expression that
# the whole line must match; one ending in " (no-eol)" is the last line,
# written without a newline.  Standard output and standard error are
# compared each in its own order; in the file they may interleave.
#
# Every command of one file shares its scratch directory (files persist, not
# shell variables) and runs with zbsvc and the build's programs on PATH,
# TESTDIR naming the directory of the transcript and standard input from
# /dev/null (a command that hangs meets the time limit CTest gives the
# whole file; no watchdog per command, which would cost a process each).
# With ZB_TRANSCRIPT_UPDATE=1 the file is
# rewritten with what the commands really did (prose kept); with
# ZB_TRANSCRIPT_MEMCHECK=DIR each zbsvc runs under scripts/memcheck.sh.
set -uo pipefail
file="$1"
[ -f "$file" ] || { echo "transcript.sh: $file: no such file" >&2; exit 2; }
: "${ZB_BINARY_DIR:?}" "${ZB_SOURCE_DIR:?}"
file="$(cd "$(dirname "$file")" && pwd)/$(basename "$file")"

scratch="$(mktemp -d "${TMPDIR:-/tmp}/zbtranscript.XXXXXX")" || exit 2
trap 'chmod -R u+rwx "$scratch" 2>/dev/null; rm -rf "$scratch"' EXIT
bin="$ZB_BINARY_DIR/bin"
if [ -n "${ZB_TRANSCRIPT_MEMCHECK:-}" ]; then
  bin="$scratch/.bin"
  mkdir -p "$bin"
  # Open to all: a command may run zbsvc as another user (setpriv).
  mkdir -p "$ZB_TRANSCRIPT_MEMCHECK" && chmod 1777 "$ZB_TRANSCRIPT_MEMCHECK"
  printf '#!/usr/bin/env bash\nZB_MEMCHECK_SILENT_STATUS=1 exec bash %q "%s/$$.$RANDOM" %q "$@"\n' \
    "$ZB_SOURCE_DIR/scripts/memcheck.sh" "$ZB_TRANSCRIPT_MEMCHECK" \
    "$ZB_BINARY_DIR/bin/zbsvc" >"$bin/zbsvc"
  chmod +x "$bin/zbsvc"
  export PATH="$bin:$ZB_BINARY_DIR/bin:$PATH"
else
  export PATH="$bin:$PATH"
fi
export TESTDIR="$(dirname "$file")"
work="$scratch/work"
mkdir "$work" && cd "$work" || exit 2

# Does the actual line match the expected one?
matches() {
  local want="$1" got="$2"
  case "$want" in
    *" (re)") [[ "$got" =~ ^(${want% (re)})$ ]] ;;
    *" (re) (no-eol)") [[ "$got" = *" (no-eol)" && "${got% (no-eol)}" =~ ^(${want% (re) (no-eol)})$ ]] ;;
    *) [ "$want" = "$got" ] ;;
  esac
}

# Prints the lines of an output file, each with a prefix; an actual line
# that matches its expected line is printed as the expected one, so that
# patterns survive an update.
render() {
  local out="$1" prefix="$2"; shift 2
  local -a want=("$@") got=()
  local i line
  [ -s "$out" ] || return 0
  mapfile got <"$out"
  for ((i = 0; i < ${#got[@]}; i++)); do
    line="${got[$i]}"
    if [ "${line: -1}" = $'\n' ]; then line="${line%$'\n'}"; else line+=" (no-eol)"; fi
    if [ $i -lt ${#want[@]} ] && matches "${want[$i]}" "$line"; then
      line="${want[$i]}"
    fi
    printf '  %s%s\n' "$prefix" "$line"
  done
}

actual="$scratch/.actual"
: >"$actual"
cmd=""
wantOut=() wantErr=()

run_pending() {
  [ -n "$cmd" ] || return 0
  local status=0
  bash -c "$cmd" </dev/null >"$scratch/.out" 2>"$scratch/.err"
  status=$?
  render "$scratch/.out" "" "${wantOut[@]+"${wantOut[@]}"}" >>"$actual"
  render "$scratch/.err" "2> " "${wantErr[@]+"${wantErr[@]}"}" >>"$actual"
  [ $status -ne 0 ] && printf '  [%d]\n' "$status" >>"$actual"
  cmd=""
  wantOut=() wantErr=()
}

while IFS= read -r line || [ -n "$line" ]; do
  case "$line" in
    "  \$ "*)
      run_pending
      printf '%s\n' "$line" >>"$actual"
      cmd="${line#  \$ }"
      ;;
    "  > "* | "  >")
      if [ -n "$cmd" ] && [ ${#wantOut[@]} -eq 0 ] && [ ${#wantErr[@]} -eq 0 ]; then
        printf '%s\n' "$line" >>"$actual"
        local_line="${line#  >}"
        cmd+=$'\n'"${local_line# }"
      else
        wantOut+=("${line#  }")
      fi
      ;;
    "  2> "*) wantErr+=("${line#  2> }") ;;
    "  2>") wantErr+=("") ;;
    "  ["*"]") ;;
    "  "*) wantOut+=("${line#  }") ;;
    *)
      run_pending
      printf '%s\n' "$line" >>"$actual"
      ;;
  esac
done <"$file"
run_pending

if [ "${ZB_TRANSCRIPT_UPDATE:-0}" = 1 ]; then
  cp "$actual" "$file"
  exit 0
fi
if ! diff -u --label "expected: $file" --label actual "$file" "$actual"; then
  exit 1
fi
