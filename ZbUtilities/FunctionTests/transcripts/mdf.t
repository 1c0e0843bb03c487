zbsvc mdf: the values of sections of an MDF V4 file, section after section
(named with or without the *); -strip keeps the first word of each value;
without a section, the dump of them all; -stats adds the statistics.

  $ printf '/ libraries\n*  LIBS\n  lib.a  / static\n\tlib.so x\n*SRC\nmain.c\n' >f.mdf
  $ zbsvc mdf -strip f.mdf LIBS
  lib.a
  lib.so
  $ zbsvc mdf -strip f.mdf
  #
  # Set of Section
  # Section named [*LIBS]
  #  - 'lib.a'
  #  - 'lib.so'
  # Section named [*SRC]
  #  - 'main.c'
  
  $ zbsvc mdf -stats f.mdf SRC | sed -n 1,4p
  main.c
  
  ## zbMDFV4: Statistics of values dictionary:
  QORHDICOS( QORString, zbMDFV4Section ):

A missing section, a section defined twice and a file without any section
are reported: status 1, the sections found still printed.

  $ zbsvc mdf f.mdf SRC NOPE '*LIBS'
  main.c
  lib.a  
  lib.so x
  2> # Error: f.mdf has no section *NOPE
  [1]
  $ printf '* A\nx\ny\n*B\n*A\nz\n' >dup.mdf && zbsvc mdf dup.mdf A B
  x
  y
  2> # Error: dup.mdf: section *A is defined again, this definition is ignored
  2> # Error: dup.mdf has no section *B
  [1]
  $ echo 'no header' >none.mdf && zbsvc mdf none.mdf
  2> # Error: none.mdf holds no section: no line begins with '*'
  [1]
