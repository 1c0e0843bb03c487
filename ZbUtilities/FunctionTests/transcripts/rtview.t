zbsvc rtview over the example workspace.  One -os, strictly: the first
framework.data of that system, the module.data of each module with an
Imakefile.mk, then the counts of problems (status 1 when one is not 0).

  $ cd $ZB_SOURCE_DIR/examples/workspace && zbsvc rtview -os linux_a64 FwAlpha
  !<zbRTViewData> v1.0.0
  RTV/001/CUS lib/libAlphaCore.so|code/lib/libAlphaCore.so
  DAT/000/CUS resources/Alpha.msgcat|code/resources/msgcatalog/Alpha.msgcat
  INT/000/QXI Objects/AlphaCore.o|Objects/AlphaCore.o
  BTV/000/QXI PublicInterfaces/AlphaCore.h|code/include/AlphaCore.h
  RTV/000/CUS doc/Alpha-linux.txt|code/doc/Alpha.txt
  FwAlpha: framework data problem 0, modules without data 1, load failures 0
  2> # Error: Framework FwAlpha: module AlphaTools.m has no module.data
  [1]

A framework through a link: all there for one system, nothing for another.

  $ cd $ZB_SOURCE_DIR/examples/workspace && zbsvc rtview -os linux_a64 FwBetaLink
  !<zbRTViewData> v1.0.0
  RTV/000/CUS bin/betamain|code/bin/betamain
  DAT/000/CUS resources/Beta.msgcat|code/resources/msgcatalog/Beta.msgcat
  FwBetaLink: framework data problem 0, modules without data 0, load failures 0
  $ cd $ZB_SOURCE_DIR/examples/workspace && zbsvc rtview -os win_b64 FwBetaLink
  !<zbRTViewData> v1.0.0
  FwBetaLink: framework data problem 1, modules without data 1, load failures 0
  2> # Error: Framework FwBetaLink: module BetaMain.m has no module.data
  2> # Error: Framework FwBetaLink has no framework.data
  [1]

With several systems, or -mod naming module directories, the merged view:
the same elements once, the stray data file warned about.

  $ cd $ZB_SOURCE_DIR/examples/workspace && zbsvc rtview -os linux_a64 -os win_b64 FwAlpha
  !<zbRTViewData> v1.0.0
  RTV/001/CUS lib/libAlphaCore.so|code/lib/libAlphaCore.so
  RTV/000/CUS doc/Alpha-win.txt|code/doc/Alpha-win.txt
  RTV/001/CUS bin/AlphaCore.dll|code/bin/AlphaCore.dll
  DAT/000/CUS resources/Alpha.msgcat|code/resources/msgcatalog/Alpha.msgcat
  INT/000/QXI Objects/AlphaCore.o|Objects/AlphaCore.o
  BTV/000/QXI PublicInterfaces/AlphaCore.h|code/include/AlphaCore.h
  RTV/000/CUS doc/Alpha-linux.txt|code/doc/Alpha.txt
  2> # Warning: FwAlpha/various/win_b64/AlphaGhost.m/module.data ignored: its module has no Imakefile.mk
  $ cd $ZB_SOURCE_DIR/examples/workspace && zbsvc rtview -os linux_a64 -mod AlphaTools.m FwAlpha
  !<zbRTViewData> v1.0.0
  DAT/000/CUS resources/Alpha.msgcat|code/resources/msgcatalog/Alpha.msgcat
  RTV/000/CUS doc/Alpha-linux.txt|code/doc/Alpha.txt
  $ cd $ZB_SOURCE_DIR/examples/workspace && for os in "-os win_b64" ""; do zbsvc rtview -os linux_a64 $os FwGamma; echo $?; done
  1
  1
  2> # Warning: FwGamma : No such file or directory
  2> # Warning: FwGamma : No such file or directory

-o writes what is printed without it; the strict form still prints its
counts.

  $ cd $ZB_SOURCE_DIR/examples/workspace && zbsvc rtview -os linux_a64 -os win_b64 -o $OLDPWD/all.data FwAlpha 2>/dev/null &&
  > zbsvc rtview -os linux_a64 -os win_b64 FwAlpha 2>/dev/null | cmp - $OLDPWD/all.data && echo same
  same
  $ cd $ZB_SOURCE_DIR/examples/workspace && zbsvc rtview -os linux_a64 -o $OLDPWD/linux.data FwAlpha
  FwAlpha: framework data problem 0, modules without data 1, load failures 0
  2> # Error: Framework FwAlpha: module AlphaTools.m has no module.data
  [1]
  $ cd $ZB_SOURCE_DIR/examples/workspace && zbsvc rtview -os linux_a64 FwAlpha 2>/dev/null | head -n -1 | cmp - $OLDPWD/linux.data && echo same
  same
