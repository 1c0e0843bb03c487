zbsvc wschain: the second line of WS/Install_config, a directory a line.

  $ mkdir ws && printf '# workspace chain\n/ws/one:/ws/two::/ws/three\n' >ws/Install_config
  $ zbsvc wschain ws
  /ws/one
  /ws/two
  /ws/three

A configuration of one line is not one.

  $ mkdir short && echo 'one line only' >short/Install_config
  $ zbsvc wschain short
  2> # Error: short/Install_config is not a workspace configuration: its second line, the workspace chain, is missing
  [1]

A workspace that is a file, missing, or without configuration: named.

  $ touch file
  $ zbsvc wschain file
  2> # System error on file: Not a directory
  [1]
  $ zbsvc wschain missing
  2> # System error on missing: No such file or directory
  [1]
  $ mkdir bare && zbsvc wschain bare
  2> # System error on bare/Install_config: No such file or directory
  [1]
