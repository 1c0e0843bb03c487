zbsvc hlist: the header list of directories of a workspace, a block per
directory (@NAME, @>NAME with -subdir), entries sorted.

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

A missing directory is reported, the others written; a full device too.

  $ zbsvc hlist -ws . -o Fw.hl Fw/none Fw/PrivateInterfaces; echo $?; cat Fw.hl
  1
  !<zbhl> v2.0.1
  @Fw/PrivateInterfaces
  p.h
  2> # System error on ././Fw/none: No such file or directory
  $ zbsvc hlist -ws . -o /dev/full Fw/PrivateInterfaces
  2> # System error on /dev/full: No space left on device
  [1]

An absolute DIR is named inside WS when under it (WS itself is "."), else
refused as a usage error.

  $ mkdir -p ws/inc && touch ws/inc/a.h && zbsvc hlist -ws ws -o L "$PWD/ws/inc" "$PWD/ws/" && cat L
  !<zbhl> v2.0.1
  @inc
  a.h
  @.
  inc
  $ zbsvc hlist -ws ws -o L /usr/include
  2> zbsvc hlist: /usr/include is not inside the workspace ws: a DIR is named inside WS
  2> Try 'zbsvc help hlist'.
  [2]
