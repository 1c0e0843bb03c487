zbsvc block info of a file its user may not read says so, whatever its
size (this one is too short to be a block).  As root the file is read by
an unprivileged user.

  $ chmod 755 .. . && echo data >small && chmod 0 small
  $ $([ "$(id -u)" = 0 ] && echo setpriv --reuid=65534 --regid=65534 --clear-groups) zbsvc block info small
  2> # Error: Block file small: Permission denied
  [1]
