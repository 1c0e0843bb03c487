zbsvc patterns: the pattern list over the framework layout built from a
filter's flags, the flags -data, -tests and -sniff add, and flags given;
-type 1 takes the reduced various section.  The sizes: the data filter's
119 (row 159), its test flag 118 (rows 140 and 151); explicit flags add to
the filter's.

  $ for args in "" "-type 1" "-filter data" "-filter data -tests" "-filter data 100 1121" "-type 1 -filter objects -sniff"; do
  >   zbsvc patterns $args | sed -n 1p; done
  patterns size: 77
  patterns size: 76
  patterns size: 78
  patterns size: 80
  patterns size: 82
  patterns size: 120

With -fw, -mod and -os the keys are replaced, framework paths outermost,
each module in turn: 82 patterns, 14 of which name a module twice.

  $ zbsvc patterns -fw /ws/Fw -mod A.m -mod B.m -os linux 110 | sed -n 1,13p
  patterns size: 96
  /ws/Fw rc: ZBIO_FOLLOW meta : [32]
  /ws/Fw/Imakefile.mk rc: ZBIO_DONT_FOLLOW meta : [32]
  /ws/Fw/.installation.mode rc: ZBIO_DONT_FOLLOW meta : [32]
  /ws/Fw/A.m rc: ZBIO_FOLLOW meta : [32]
  /ws/Fw/B.m rc: ZBIO_FOLLOW meta : [32]
  /ws/Fw/A.m rc: ZBIO_DONT_FOLLOW meta : [32]
  /ws/Fw/B.m rc: ZBIO_DONT_FOLLOW meta : [32]
  /ws/Fw/A.m/Objects rc: ZBIO_FOLLOW meta : [32]
  /ws/Fw/B.m/Objects rc: ZBIO_FOLLOW meta : [32]
  /ws/Fw/A.m/Objects rc: ZBIO_DONT_FOLLOW meta : [32]
  /ws/Fw/B.m/Objects rc: ZBIO_DONT_FOLLOW meta : [32]
  /ws/Fw/A.m/Objects/linux rc: ZBIO_FOLLOW_FOR_EVER meta : [32]

Without -mod the module rows give nothing.

  $ zbsvc patterns -fw /f -os x | grep -q '%mod%' || echo 'no %mod% left'
  no %mod% left
  $ zbsvc patterns -fw /f -os x | grep IdentityCard/Objects/
  /f/IdentityCard/Objects/x rc: ZBIO_FOLLOW_FOR_EVER meta : [32]
  /f/IdentityCard/Objects/* rc: ZBIO_DONT_FOLLOW meta : [32]

Usage errors: an unknown filter, a type or a flag that is not a number, an
unknown switch.

  $ zbsvc patterns -filter some
  2> zbsvc patterns: unknown filter 'some'
  2> usage: zbsvc patterns [-type N] [-filter data|sources|objects|all|preq] [-data] [-tests] [-sniff] [-fw DIR ...] [-mod M ...] [-os OS ...] [FLAG ...]
  2>    print the pattern list of a filter and flags, optionally substituted
  2>    -type N : pattern type (1: reduced various section)
  2>    -filter NAME : start from a filter: data, sources, objects, all, preq
  2>    -data : add the filter's data flags
  2>    -tests : add the filter's function-test flags
  2>    -sniff : add the filter's sniff flags
  2>    -fw DIR : framework path put in place of %fw%
  2>    -mod M : module name put in place of %mod%
  2>    -os OS : operating-system name put in place of %os%
  2>    -h, --help : print this help
  [2]
  $ for args in "-type x" "12a" "-q"; do zbsvc patterns $args 2>&1 | sed -n 1p; echo "${PIPESTATUS[0]}"; done
  zbsvc patterns: not a pattern type: 'x'
  2
  zbsvc patterns: not a pattern flag: '12a'
  2
  zbsvc patterns: illegal option -- q
  2

Lost output.

  $ zbsvc patterns >/dev/full
  2> zbsvc: standard output: No space left on device
  [1]
