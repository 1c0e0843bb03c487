The bash completion built from the verb table: verbs, sub-verbs,
switches, a switch's choices, file names (words typed|completions).

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
