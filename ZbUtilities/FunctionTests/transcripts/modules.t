zbsvc modules: the names of a framework's merged runtime view whose type
and exposure are in the masks.

  $ cd $ZB_SOURCE_DIR/examples/workspace && zbsvc modules -os linux_a64 -exp QXI FwAlpha
  Objects/AlphaCore.o
  PublicInterfaces/AlphaCore.h
  $ cd $ZB_SOURCE_DIR/examples/workspace && zbsvc modules -os linux_a64 -os win_b64 -type Runtime FwAlpha
  doc/Alpha-win.txt
  doc/Alpha-linux.txt
  bin/AlphaCore.dll
  lib/libAlphaCore.so
  2> # Warning: FwAlpha/various/win_b64/AlphaGhost.m/module.data ignored: its module has no Imakefile.mk

No data for a system: nothing, status 0; a missing framework: status 1.

  $ cd $ZB_SOURCE_DIR/examples/workspace && zbsvc modules -os mac_a64 FwAlpha

  $ cd $ZB_SOURCE_DIR/examples/workspace && zbsvc modules -os linux_a64 FwAlpha/none
  2> # Warning: FwAlpha/none : No such file or directory
  [1]
