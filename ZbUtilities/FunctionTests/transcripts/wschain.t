zbsvc wschain names what is wrong: a workspace that is a file, one that
does not exist, one without its configuration.

  $ touch file; mkdir ws
  $ zbsvc wschain file
  2> # System error on file: Not a directory
  [1]
  $ zbsvc wschain missing
  2> # System error on missing: No such file or directory
  [1]
  $ zbsvc wschain ws
  2> # System error on ws/Install_config: No such file or directory
  [1]
