zbsvc mdf: a standard output that cannot be written is reported once, in
the words of every verb, whatever the switches; the status is 1.

  $ printf '*SOURCES\n  main.c\n  util.c\n' >demo.mdf
  $ zbsvc mdf demo.mdf SOURCES >/dev/full
  2> zbsvc: standard output: No space left on device
  [1]
  $ zbsvc mdf -strip -stats demo.mdf SOURCES >/dev/full
  2> zbsvc: standard output: No space left on device
  [1]
