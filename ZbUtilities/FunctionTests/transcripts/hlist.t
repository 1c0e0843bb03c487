zbsvc hlist: each DIR is named inside the workspace; an absolute DIR is
taken inside WS when it lies under it (the workspace itself is "."), and
refused, as a usage error, when it does not.

  $ mkdir -p ws/inc && touch ws/inc/a.h
  $ zbsvc hlist -ws ws -o L "$PWD/ws/inc" "$PWD/ws/" && cat L
  !<zbhl> v2.0.1
  @inc
  a.h
  @.
  inc
  $ zbsvc hlist -ws ws -o L /usr/include
  2> zbsvc hlist: /usr/include is not inside the workspace ws: a DIR is named inside WS
  2> Try 'zbsvc help hlist'.
  [2]
