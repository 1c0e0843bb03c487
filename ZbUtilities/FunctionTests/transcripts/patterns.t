zbsvc patterns: the pattern list of a filter's flags, those -data, -tests
and -sniff add and those given; -type 1 takes the reduced various section.

  $ for args in "" "-type 1" "-filter data" "-filter data -tests" "-filter data 100 1121" "-type 1 -filter objects -sniff"; do
  >   zbsvc patterns $args | sed -n 1p; done
  patterns size: 77
  patterns size: 76
  patterns size: 78
  patterns size: 80
  patterns size: 82
  patterns size: 120

With -fw, -mod and -os the keys are replaced, framework paths outermost,
each module in turn.

  $ zbsvc patterns -fw /ws/Fw -mod A.m -mod B.m -os linux 110 | sed -n 1,10p
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

Without -mod the module rows give nothing.

  $ zbsvc patterns -fw /f -os x | grep -q '%mod%' || echo 'no %mod% left'
  no %mod% left
  $ zbsvc patterns -fw /f -os x | grep IdentityCard/Objects/
  /f/IdentityCard/Objects/x rc: ZBIO_FOLLOW_FOR_EVER meta : [32]
  /f/IdentityCard/Objects/* rc: ZBIO_DONT_FOLLOW meta : [32]
