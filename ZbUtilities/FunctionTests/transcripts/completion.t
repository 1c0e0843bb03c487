The bash completion of zbsvc, written by the build from the verb table:
verbs, sub-verbs, switches, the choices of a switch's value, file names
where a verb takes files (each line: the words typed, then what completes
the last).

  $ touch notes.txt
  $ bash -c '. "$ZB_BINARY_DIR/share/bash-completion/completions/zbsvc"
  > for line in "zbsvc bl" "zbsvc block " "zbsvc run -e" "zbsvc help block p" \
  >   "zbsvc -xml t.xml treediff -links " "zbsvc crc no"; do
  >   read -ra COMP_WORDS <<<"$line"; [ "${line% }" = "$line" ] || COMP_WORDS+=("")
  >   COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _zbsvc; echo "$line|${COMPREPLY[*]}"
  > done'
  zbsvc bl|block
  zbsvc block |info pack unpack
  zbsvc run -e|-engine
  zbsvc help block p|pack
  zbsvc -xml t.xml treediff -links |0 1 2
  zbsvc crc no|notes.txt
