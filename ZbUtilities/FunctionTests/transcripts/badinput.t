Every verb that reads a file, against each kind of bad input: a status and
a report naming the file, never a signal or a hang.  row WANT ARGS INPUT
VALID [EXTRA] [ENV] runs zbsvc ARGS in a directory of its own ("%"), the
bad input at INPUT ("@"): empty, noise, a directory, VALID cut of 3 bytes,
with a NUL inside, with a 1 MB line after it, unreadable (root: as nobody).
VALID "-" is a directory, "=block" a packed block; EXTRA: "PATH=TEXT".
Outcomes: 0; 1 or 2 with the file (or "DIR/./INPUT") named; f for 1 with
other words; else [STATUS].  A row not giving WANT is printed.

  $ echo 'the user data of a block' >in && zbsvc block pack -v 1.2.3 in block; cat >row.sh <<'END'
  > row() {
  >   want=$1; shift
  >   case $3 in -) : >valid ;; =block) cp block valid ;; *) printf %b "$3" >valid ;; esac
  >   set -- "$@" "" ""; half=$(($(wc -c <valid) / 2)); result=
  >   for kind in empty noise dir cut nul long unreadable; do
  >     d=$(mktemp -d) && chmod 777 "$d" && i=$d/$2 && mkdir -p "$(dirname "$i")" || return
  >     [ -z "$4" ] || { mkdir -p "$(dirname "$d/${4%%=*}")" && printf %b "${4#*=}" >"$d/${4%%=*}"; }
  >     case $kind in
  >       empty) : >"$i" ;; noise) seq 20000 | gzip -n | head -c 4096 >"$i" ;; dir) mkdir "$i" ;;
  >       cut) head -c -3 valid >"$i" ;; long) { cat valid; head -c 1048576 /dev/zero | tr '\0' x; echo; } >"$i" ;;
  >       nul) { head -c $half valid; printf '\0'; tail -c +$((half + 1)) valid; } >"$i" ;;
  >       unreadable) if [ "$3" = - ]; then mkdir "$i"; else cp valid "$i"; fi; chmod 0 "$i" ;;
  >     esac
  >     as=; [ $kind != unreadable -o "$(id -u)" != 0 ] || as='setpriv --reuid=65534 --regid=65534 --clear-groups'
  >     env ${5:+"${5//[%]/$d}"} $as zbsvc $(echo "$1" | sed "s|@|$i|g; s|%|$d|g") >/dev/null 2>err
  >     s=$?
  >     if grep -q Sanitizer err; then s="[sanitizer]"
  >     elif [ $s = 1 -o $s = 2 ] && grep -qF -e "$i" -e "$d/./$2" err; then :
  >     elif [ $s = 1 -a -s err ]; then s=f
  >     elif [ $s != 0 ]; then s="[$s]"; fi
  >     result+=$s; chmod -R u+rwx "$d"; rm -rf "$d"
  >   done
  >   [ "$result" = "$want" ] || echo "$1: $result, not $want"
  > }
  > END

Text files: empty is an empty set (no level: refused); cut holds a shorter
value (a level file another level); 1 MB is a line.  Any bytes have a CRC
and can be packed; a file in a listed tree is listed whatever it holds.

  $ . ./row.sh
  > row 0110101 'context -v' code/tools/config/MainSpecifications.mk 'Product = zbzb\nTitle = $(Product) V5\n' '' MY_ZBZB_CONFIG=%
  > row 1111101 'version -level %/lvl' code/tools/data/zbVersionData.mk '#ifdef ZB_V5\nMajorVersion = 5\nMinorVersion = 21\n#endif\n' 'lvl/TALVEXV5Level.lvl=#define ZB_V5\n' MY_ZBZB_DATA=%
  > row 1110101 'version -level %' TALVEXV5Level.lvl '#define ZB_V5\n'
  > row 0010001 'crc @' f 'text\n'
  > row 1101111 'ls @' d -
  > row 0000001 'ls -r %/tree' tree/sub -
  > row 1110101 'wschain %' Install_config '# chain\n/ws/one:/ws/two\n'
  > row 0110101 'macros @' f.mk 'A = 1\nB = $(A) two\n'
  > row 1110101 'macros -level @ %/m.mk' l.lvl '#define L 1\n' 'm.mk=#if L\nA = 1\n#endif\n'
  > row 0110101 'macros -I % %/m.mk' inc.mk 'A = 1\nB = $(A) two\n' 'm.mk=include inc.mk\n'
  > row 0110101 'pp -nocheck @' f.mk 'NAME = demo\n#define X 1\n'
  > row 1110101 'pp -level @ %/m.mk' l.lvl '#define L 1\n' 'm.mk=#if L\nA = 1\n#endif\n'
  > row 0110101 'pp -nocheck -expand -I % %/m.mk' inc.mk 'NAME = demo\n' 'm.mk=#include "inc.mk"\n'
  > row 1111111 'block info @' b =block
  > row 0010001 'block pack -v 1.0.0 @ %/out' f 'text\n'
  > row 1110101 'mdf @' f.mdf '*SOURCES\n  main.c\n'
  > row 0110101 'lsdiff @ %/new' old '1@1 a\n2@2 b\n' 'new=1@1 a\n'

Header lists and maps.  For find, no name is a valid list, a cut name is
not found, a file or an empty directory as a directory holds no name.

  $ . ./row.sh
  > row 1101111 'hlist -ws % -o %/out.hl d' d -
  > row 1111111 'hmap -o %/map %=@' l.hl '!<zbhl> v2.0.1\n@A\nx.h\ny.h\n'
  > row 1111111 'find -map @ x.h' l.hl '!<zbhl> v2.0.1\n@A\nx.h\ny.h\n'
  > row 011f111 'find -path % -names @' names 'names\n'
  > row ffffff1 'find -path @ x.h' d -

Record files: a cut last record holds a shorter name; no record is 1 MB
long.  A directory as the framework's data: reported by rtview, no data
for modules.  Anything but the two install modes is type 0.  Any file is
copied.

  $ . ./row.sh; rtv='!<zbRTViewData> v1.0.0\nRTV/000/CUS lib/a.so|code/lib/a.so\n'
  > row 1110111 'rtv list @' f.data "$rtv"
  > row 1110111 'rtvstat -root % -o %/out FW=@' f.data "$rtv"
  > row 1110111 'rtvstat -list @' f.stat '!<zbRTViewDataStat> v1.0.0\nRTV/000/CUS bin/tool|B/tool|0@0|B\n'
  > row 11f0111 'rtview -os linux_a64 %/fw' fw/various/linux_a64/framework.data "$rtv"
  > row 1100111 'modules -os linux_a64 %/fw' fw/various/linux_a64/framework.data "$rtv"
  > row 0000001 'installtype %/fw' fw/.installation.mode 'COPYFW_INSTALLATION\n'
  > row 0000001 'copytree @ %/out' f 'text\n'
  > row 1101111 'treediff @ %/b' a - 'b/f='
