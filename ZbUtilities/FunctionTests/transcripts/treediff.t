zbsvc treediff A B compares two trees; links by their texts (-links 1, the
default, and 2), whatever they point to.

  $ mkdir -p A/doc B/doc share/html/pkg; ln -s .. A/doc/parent; ln -s .. B/doc/parent
  $ ln -s ../../share/html A/doc/reference; ln -s ../../share/html/pkg B/doc/reference
  $ zbsvc treediff A B; zbsvc treediff -links 2 A B
  link doc/reference
  link doc/reference

A tree missing or no directory, a directory that cannot be read (named,
in either tree), usage errors.

  $ mkdir -p T/A/locked && : >T/file
  $ for args in "treediff T/missing T" "treediff -q T T/file" "copytree T/missing T/to"; do zbsvc $args; echo $?; done
  1
  2
  1
  2> # System error on T/missing: No such file or directory
  2> # System error on T/file: Not a directory
  2> # Error: Copy of T/missing into T/to incomplete: T/missing: No such file or directory
  $ chmod 755 .. . T T/A && chmod 0 T/A/locked
  $ $([ "$(id -u)" = 0 ] && echo setpriv --reuid=65534 --regid=65534 --clear-groups) zbsvc treediff T T/A
  2> # Error: T could not be read whole: T/A/locked: Permission denied
  [1]
  $ for args in "treediff a" "treediff -links 3 a b" "copytree -links 2 a b" "copytree a"; do
  >   out=$(zbsvc $args 2>&1); echo "$? ${out##*$'\n'}"; done
  2 Try 'zbsvc help treediff'.
  2 Try 'zbsvc help treediff'.
  2 Try 'zbsvc help copytree'.
  2 Try 'zbsvc help copytree'.

Every kind of change, in the order of the paths, then of the codes; a
content changed with the same size and time is not seen.

  $ mkdir -p P/d0 P/d1/sub2 P/d3 P/d4 P/d6 P/d7 P/d9 P/d10
  > for f in d0/f1.c d1/f2.c d1/sub2/f7.c d3/f4.h d4/f5.c d4/f6.c d6/f2.c d7/f9.c d9/f9.c d10/f; do
  >   echo $f >P/$f; done
  > ln -s f2.c P/d6/link; ln -s d0 P/dirlink; touch -d @1500000000 P/*/* P/*/*/*; cp -a P Q
  $ zbsvc treediff -modes P Q && zbsvc treediff -q P Q
  $ echo longer content than before >Q/d0/f1.c; echo '#######' >Q/d1/f2.c
  > touch -r P/d1/f2.c Q/d1/f2.c; touch -d @1000 Q/d3/f4.h; touch -d @2000000000 Q/d4/f5.c
  > chmod 600 Q/d4/f6.c; chmod 755 Q/d1/sub2/f7.c; ln -sfn ../d0/f1.c Q/d6/link
  > rm Q/d7/f9.c Q/d9/f9.c && mkdir Q/d7/f9.c && rm -r Q/d10; echo new >Q/d9/new.c
  > mkdir Q/extra && echo x >Q/extra/x && echo a >P/d0/only-in-a
  $ zbsvc treediff -modes P Q
  size d0/f1.c
  time d0/f1.c
  added d0/only-in-a
  mode d1/sub2/f7.c
  added d10
  newer d3/f4.h
  time d3/f4.h
  time d4/f5.c
  mode d4/f6.c
  link d6/link
  type d7/f9.c
  added d9/f9.c
  removed d9/new.c
  removed extra
  $ zbsvc treediff -q P Q
  [1]

Without -modes no mode line.  With -links 0 links stand for what they
point to: each of Q's links is a change of type.

  $ zbsvc treediff P Q | grep mode
  [1]
  $ zbsvc treediff -links 0 P Q | grep -e ^link -e ^type
  type d6/link
  type d7/f9.c
  type dirlink
