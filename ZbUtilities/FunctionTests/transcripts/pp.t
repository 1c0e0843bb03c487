zbsvc pp: a file preprocessed against a (preprocessed) level file: blocks
kept or dropped (their lines left empty), comments removed.

  $ cat >levels.lvl <<'X'
  > #define R21 1
  > #define SP 3
  > #if SP >= 2
  > #define SP2_OR_MORE
  > #endif
  > X
  $ cat >d.mk <<'X'
  > #if R21 && SP2_OR_MORE
  > A = r21
  > #elif R20
  > A = r20
  > #else
  > A = none
  > #endif
  > #if os HOME_MADE
  > B = home
  > #endif
  > C = c /* gone */
  > X
  $ zbsvc pp -level levels.lvl d.mk
  A = r21
  
  
  C = c 

Without a level file a level test is an error, with each line that makes
one; -nocheck tests the names against the file's own #defines instead.

  $ zbsvc pp d.mk
  2> # Error: d.mk[1]: a level is tested but no level file was loaded
  2> # Error: d.mk[1]: a level is tested but no level file was loaded
  2> # Error: d.mk[3]: a level is tested but no level file was loaded
  [1]
  $ zbsvc pp -nocheck d.mk
  
  A = none
  
  
  C = c 

Errors of the file and of the level file; nothing is printed.  (A level
file that is empty or not understood: badinput.t's -level row.)

  $ printf 'A = 1\n#else\n' >e.mk; for l in -nocheck '-level none.lvl'; do zbsvc pp $l e.mk; echo $?; done
  1
  1
  2> # Error: e.mk[2]: missing #if
  2> # System error on none.lvl: No such file or directory

macros -level preprocesses each file before reading it.

  $ printf '#if R21\nA = new\n#else\nA = old\n#endif\nB = $(A) b // comment\n#define V 3\nC = last' >m.mk
  $ zbsvc macros -solve -level levels.lvl m.mk
  C='last'
  B='new b'
  A='new'
  $ printf 'A = 1\n#endif\n' >bad.mk && zbsvc macros -level levels.lvl bad.mk
  2> # Error: bad.mk[2]: missing #if
  [1]

-expand replaces each #include "name" or <name> by the file found along
-I, preprocessed and expanded in turn, after its includer: main.mk does not
see FROM_A, b.mk does.  (A file not found: below; an error in an included
file: badinput.t.)

  $ mkdir inc && printf '#define FROM_A 1\nA = a\n' >inc/a.mk && printf '#if os FROM_A\nB = sees a\n#endif\n' >inc/b.mk
  $ printf 'M = main\n#include "a.mk"\n#if os FROM_A\nmain sees a\n#endif\n#include <b.mk> // tail\nend\n' >main.mk
  $ zbsvc pp -nocheck -expand -I inc main.mk
  M = main
  #define FROM_A 1
  A = a
  
  
  B = sees a
  
  
  end
  $ zbsvc pp -nocheck -I inc main.mk
  M = main
  #include "a.mk"
  
  #include <b.mk>
  end

A file included twice is there once when ZBZB_FBINCLUDEONCE is set (twice
otherwise: zbPPTests).

  $ printf '#include "a.mk"\n#include "a.mk"\nz\n' >twice.mk && echo 'A = a' >a.mk
  $ ZBZB_FBINCLUDEONCE=1 zbsvc pp -nocheck -expand -I . twice.mk
  A = a
  
  
  z

50 levels of includes at most: a file including itself is refused once;
in a chain f0 -> f1 -> ..., 49 files below the first are accepted, not 50.

  $ printf 'x\n#include "self.mk"\n#include "self.mk"\n' >self.mk && zbsvc pp -nocheck -expand -I . self.mk
  2> # Error: Include of ./self.mk from ./self.mk refused: too many nested includes
  [1]
  $ for i in $(seq 0 49); do printf '%d\n#include "f%d.mk"\n' $i $((i + 1)) >f$i.mk; done; zbsvc pp -nocheck -expand -I . f0.mk
  2> # Error: ./f49.mk: included file f50.mk not found
  [1]
  $ echo 50 >f50.mk && zbsvc pp -nocheck -expand -I . f0.mk
  2> # Error: Include of ./f50.mk from ./f49.mk refused: too many nested includes
  [1]
  $ echo 49 >f49.mk && zbsvc pp -nocheck -expand -I . f0.mk >out && wc -l <out && grep -vn '^$' out | paste -sd' '
  99
  1:0 2:1 3:2 4:3 5:4 6:5 7:6 8:7 9:8 10:9 11:10 12:11 13:12 14:13 15:14 16:15 17:16 18:17 19:18 20:19 21:20 22:21 23:22 24:23 25:24 26:25 27:26 28:27 29:28 30:29 31:30 32:31 33:32 34:33 35:34 36:35 37:36 38:37 39:38 40:39 41:40 42:41 43:42 44:43 45:44 46:45 47:46 48:47 49:48 50:49
