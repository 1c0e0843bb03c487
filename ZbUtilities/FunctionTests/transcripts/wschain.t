zbsvc wschain: the second line of WS/Install_config, a directory a line.

  $ mkdir ws && printf '# workspace chain\n/ws/one:/ws/two::/ws/three\n' >ws/Install_config
  $ zbsvc wschain ws
  /ws/one
  /ws/two
  /ws/three

A configuration of one line is not one.

  $ mkdir short && echo 'one line only' >short/Install_config && zbsvc wschain short
  2> # Error: short/Install_config is not a workspace configuration: its second line, the workspace chain, is missing
  [1]

A workspace that is a file, missing, or without configuration: named.

  $ touch file; mkdir bare; for ws in file missing bare; do zbsvc wschain $ws; echo "$ws $?"; done
  file 1
  missing 1
  bare 1
  2> # System error on file: Not a directory
  2> # System error on missing: No such file or directory
  2> # System error on bare/Install_config: No such file or directory
