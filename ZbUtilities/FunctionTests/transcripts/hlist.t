zbsvc hlist: the header-list file of directories of a workspace, one block
per directory (@NAME, or @>NAME with -subdir), its entries sorted.

  $ mkdir -p Fw/PublicInterfaces/sub Fw/PrivateInterfaces
  $ touch Fw/PublicInterfaces/b.h Fw/PublicInterfaces/a.h Fw/PrivateInterfaces/p.h
  $ zbsvc hlist -ws . -o Fw.hl Fw/PublicInterfaces Fw/PrivateInterfaces && cat Fw.hl
  !<zbhl> v2.0.1
  @Fw/PublicInterfaces
  a.h
  b.h
  sub
  @Fw/PrivateInterfaces
  p.h
  $ zbsvc hlist -subdir -ws . -o Fw.hl Fw/PublicInterfaces/sub && cat Fw.hl
  !<zbhl> v2.0.1
  @>Fw/PublicInterfaces/sub

A missing directory is reported and the others written.

  $ zbsvc hlist -ws . -o Fw.hl Fw/none Fw/PrivateInterfaces
  2> # System error on ././Fw/none: No such file or directory
  [1]
  $ cat Fw.hl
  !<zbhl> v2.0.1
  @Fw/PrivateInterfaces
  p.h

Usage errors: no -ws, no -o, no directory.

  $ zbsvc hlist -o x Fw
  2> zbsvc hlist: -ws and -o are required
  2> usage: zbsvc hlist [-subdir] -ws WS -o LISTFILE DIR ...
  2>    write the header-list file of include directories of a workspace
  2>    -subdir : list the directories as subdirectory include paths
  2>    -ws WS : workspace root
  2>    -o LISTFILE : header-list file to write
  2>    -h, --help : print this help
  [2]
  $ for args in "-ws x Fw" "-ws x -o y"; do zbsvc hlist $args 2>&1 | sed -n 1p; echo "${PIPESTATUS[0]}"; done
  zbsvc hlist: -ws and -o are required
  2
  zbsvc hlist: wrong number of arguments
  2

The list written to a full device.

  $ zbsvc hlist -ws . -o /dev/full Fw/PrivateInterfaces
  2> # System error on /dev/full: No space left on device
  [1]
