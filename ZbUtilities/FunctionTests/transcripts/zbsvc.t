zbsvc's own command line: switches, verbs, usage, version.

  $ zbsvc -h | sed -n 1,2p
  usage: zbsvc [SWITCHES] VERB [ARGUMENTS]
     -h, --help : print this help
  $ zbsvc -h >h && zbsvc --help | cmp - h && zbsvc help | cmp - h && echo same
  same
  $ zbsvc --version
  zbsvc 1.0.0

help VERB and VERB -h print the same usage.

  $ for verb in crc "block pack"; do zbsvc help $verb | cmp - <(zbsvc $verb -h) && echo "$verb: same"; done
  crc: same
  block pack: same
  $ zbsvc help context
  usage: zbsvc context [-v]
     print the build context
     -v : also the search paths and the main specifications
     -h, --help : print this help

Rejected command lines: status 2, a first line that says why, nothing on
standard output.

  $ for args in "" "-q context" "--bogus context" "context --bogus" "nope" "context -hx" "-xml" \
  >   "-xml a.xml -xmlappend b.xml context" "-xml a.xml nope" "help nope" "context extra" \
  >   "installtype" "lsdiff old" "version extra" "wschain" "wschain a b" "mdf" "pp" "macros" \
  >   "find -path one" "crc" "modules -os linux_a64 -type bogus fw" "modules fw" \
  >   "block pack -v 1.2.3 a" "block pack a b" "block pack -v 1.2.4294967296 a b" \
  >   "block pack -v 1.2 -v 1.2.3 a b" "block info - f" "block unpack a" "block frob" "block" \
  >   "hlist -o x Fw" "hlist -ws x Fw" "hlist -ws x -o y" "hmap /w=l" "hmap -o m" \
  >   "hmap -o m nolist" "hmap -o m =l" "hmap -o m /w=" "hmap -o m +=l" "ls" "ls -f -d /" \
  >   "patterns -filter some" "patterns -type x" "patterns 12a" "rtv list -type RTV, m.data" \
  >   "rtv list -type Runtimes m.data" "rtv list -type 12x m.data" "rtv list -exp RTV m.data" \
  >   "rtv merge a.data" "rtv merge -o out" "rtv x" "rtv" "rtview FwAlpha" "rtview -os linux* FwAlpha" \
  >   "rtview -os linux_a64" "rtview -os linux_a64 FwAlpha FwBeta" "rtvstat" "rtvstat Fw" \
  >   "rtvstat -list e.stat A B" "rtvstat -list e.stat -o x"; do
  >   out=$(zbsvc $args 2>&1); echo "$? ${out%%$'\n'*}"; done
  2 zbsvc: expects a verb
  2 zbsvc: illegal option -- q
  2 zbsvc: unrecognized option '--bogus'
  2 zbsvc context: unrecognized option '--bogus'
  2 zbsvc: unknown verb 'nope'
  2 zbsvc context: illegal option -- x
  2 zbsvc: option requires an argument -- xml
  2 zbsvc: one XML trace file at most (-xml or -xmlappend, once)
  2 zbsvc: unknown verb 'nope'
  2 zbsvc help: no verb 'nope'
  2 zbsvc context: expects no argument
  2 zbsvc installtype: wrong number of arguments
  2 zbsvc lsdiff: wrong number of arguments
  2 zbsvc version: expects no argument
  2 zbsvc wschain: wrong number of arguments
  2 zbsvc wschain: wrong number of arguments
  2 zbsvc mdf: wrong number of arguments
  2 zbsvc pp: wrong number of arguments
  2 zbsvc macros: wrong number of arguments
  2 zbsvc find: expects names (arguments, -names FILE or -stdin)
  2 zbsvc crc: wrong number of arguments
  2 zbsvc modules: -type expects a number or tag codes and names joined by commas
  2 zbsvc modules: -os is required
  2 zbsvc block pack: wrong number of arguments
  2 zbsvc block pack: expects one version -v A.B.C (three numbers)
  2 zbsvc block pack: expects one version -v A.B.C (three numbers)
  2 zbsvc block pack: expects one version -v A.B.C (three numbers)
  2 zbsvc block info: wrong number of arguments
  2 zbsvc block unpack: wrong number of arguments
  2 zbsvc block: unknown sub-verb 'frob'
  2 zbsvc block: expects a sub-verb
  2 zbsvc hlist: -ws is required
  2 zbsvc hlist: -o is required
  2 zbsvc hlist: wrong number of arguments
  2 zbsvc hmap: -o is required
  2 zbsvc hmap: wrong number of arguments
  2 zbsvc hmap: 'nolist' is not WS=LISTFILE
  2 zbsvc hmap: '=l' is not WS=LISTFILE
  2 zbsvc hmap: '/w=' is not WS=LISTFILE
  2 zbsvc hmap: '+=l' is not WS=LISTFILE
  2 zbsvc ls: wrong number of arguments
  2 zbsvc ls: -f and -d exclude each other
  2 zbsvc patterns: unknown filter 'some'
  2 zbsvc patterns: not a pattern type: 'x'
  2 zbsvc patterns: not a pattern flag: '12a'
  2 zbsvc rtv list: -type expects a number or tag codes and names joined by commas
  2 zbsvc rtv list: -type expects a number or tag codes and names joined by commas
  2 zbsvc rtv list: -type expects a number or tag codes and names joined by commas
  2 zbsvc rtv list: -exp expects a number or tag codes and names joined by commas
  2 zbsvc rtv merge: -o is required
  2 zbsvc rtv merge: wrong number of arguments
  2 zbsvc rtv: unknown sub-verb 'x'
  2 zbsvc rtv: expects a sub-verb
  2 zbsvc rtview: -os is required
  2 zbsvc rtview: a single -os takes no wildcard
  2 zbsvc rtview: wrong number of arguments
  2 zbsvc rtview: wrong number of arguments
  2 zbsvc rtvstat: no FW=DATAFILE given
  2 zbsvc rtvstat: 'Fw' is not FW=DATAFILE
  2 zbsvc rtvstat: -list takes a file and at most one framework
  2 zbsvc rtvstat: -list goes without -root and -o
  $ test -e a.xml || echo 'no trace'
  no trace

-- ends the switches; - is standard input wherever a verb reads a file.

  $ printf 123456789 >check; zbsvc crc -- -x
  2> # System error on -x: No such file or directory
  [1]
  $ printf 123456789 | zbsvc crc check - -- -
  fc891918 9 check
  fc891918 9 -
  00000000 0 -
  $ zbsvc -- crc - </dev/null
  00000000 0 -
  $ printf '#if 1\nX = 1\n#endif\n' | zbsvc pp -nocheck -
  X = 1
  
  $ echo check | zbsvc find -path . -names - | sed "s|$PWD|.|"
  ./check

A standard output that cannot be written fails every verb with one
message, usage texts included (one that does not is named; shm: shm.t).

  $ ws=$ZB_SOURCE_DIR/examples/workspace; mkdir -p ws d a b && echo one >a/f && touch d/f
  > printf '# chain\n/ws/one:/ws/two\n' >ws/Install_config; printf '*SOURCES\n  main.c\n' >s.mdf
  > printf 'A = 1\n' >m.mk; printf '1@1 a\n' >old; printf '2@2 a\n' >new; zbsvc block pack -v 1.2.3 check blk
  > printf '!<zbRTViewData> v1.0.0\nRTV/000/CUS lib/a.so|code/lib/a.so\n' >r.data; zbsvc rtvstat -o s.stat F=r.data >/dev/null 2>&1
  > for args in context "version -level ." "msg zbzbFatal.Interrupt" "crc check" "ls d" "wschain ws" \
  >   "mdf s.mdf SOURCES" "mdf -strip -stats s.mdf SOURCES" "macros m.mk" "pp -nocheck m.mk" \
  >   "block info blk" "block -h" "block pack -h" "block unpack -h" "shm serve k=check" "hlist -h" "hmap -h" \
  >   "find -path . check" "rtv merge -o o.data r.data" "rtv list r.data" patterns "treediff a b" \
  >   "treediff -trace a b" "copytree -h" "rtview -os linux_a64 $ws/FwBetaLink" \
  >   "modules -os linux_a64 $ws/FwAlpha" "installtype $ws/FwAlpha" "rtvstat F=r.data" \
  >   "rtvstat -list s.stat" "lsdiff old new" "run echo" help "help block pack" --version -h; do
  >   zbsvc $args >/dev/full 2>err; s=$?
  >   [ $s != 0 ] && grep -qx 'zbsvc: standard output: No space left on device' err || echo "$args: $s"
  > done

So does a trace file that cannot be written; reports lost on standard
error do not.

  $ zbsvc -xml /dev/full crc check
  fc891918 9 check
  2> # System error on /dev/full: No space left on device
  [1]
  $ zbsvc crc check 2>/dev/full
  fc891918 9 check
  $ zbsvc crc missing 2>/dev/full
  [1]

A trace cut by a file-size limit (SIGXFSZ ignored) is reported on
standard error.

  $ { (trap '' XFSZ; ulimit -f 2; exec zbsvc -xml t.xml crc $(seq -f missing%g 40)) 2>&1; echo "status $?"; } | tail -2; wc -c <t.xml
  # System error on t.xml: File too large
  status 1
  2048

The README's verb table, the usage and the manual page name the same verbs
and synopses; the page renders without a warning.

  $ sed -n 's/^| `\([a-z][^`]*\)` |.*/\1/p' $ZB_SOURCE_DIR/README.md | sed 's/\\|/|/g' | sort >readme
  $ zbsvc -h | sed -n 's/^   \([a-z]\)/\1/p' | sort >usage
  $ page=$ZB_BINARY_DIR/share/man/man1/zbsvc.1
  > sed -n '/^\.TP$/{n;s/^\\fBzbsvc \(.*\)\\fR \(.*\)/\1 \2/p}' $page | sed 's/\\-/-/g; s/ $//' | sort >manual
  > man --warnings -l $page >/dev/null
  $ wc -l <readme && cmp readme usage && cmp readme manual && echo agree
  30
  agree

-xml writes the run's reports, escaped, in a well-formed file even after a
failing verb; -xmlappend adds a run without a second declaration; a trace
file that cannot be had stops the run before the verb.

  $ zbsvc -xml t.xml msg 'No<Such>Key'
  2> # Error: Message key No<Such>Key not found in the catalog QORZbMessages
  [1]
  $ cat t.xml && xmllint --noout t.xml
  <?xml version="1.0" encoding="utf-8"?>
  <Application Name="zbsvc" ZbzbOS_Type="linux" ZbzbOS_NAME="Linux" ZbzbOS_Buildtime="linux_b64" ZbzbOS_BitMode="64">
  <Error Message="Message key No&lt;Such&gt;Key not found in the catalog QORZbMessages"/>
  </Application>
  $ zbsvc -xml t.xml msg zbsvc.msg.UnknownKey 'k&v' && sed -n 3p t.xml; wc -l <t.xml
  # Message key k&v not found in the catalog QORZbMessages
  <Info Message="Message key k&amp;v not found in the catalog QORZbMessages"/>
  4
  $ zbsvc -xml t.xml msg -k zbzbError a 2>/dev/null; for key in b c; do zbsvc -xmlappend t.xml msg -k zbzbError $key; done 2>/dev/null
  > { head -n 1 t.xml; echo '<Runs>'; tail -n +2 t.xml; echo '</Runs>'; } | xmllint --xpath 'count(/Runs/Application/Error)' -; grep -c '<?xml' t.xml
  3
  1
  $ zbsvc -xml no/dir/t.xml crc /dev/null
  2> # System error on no/dir/t.xml: No such file or directory
  [1]
