zbsvc msg: a catalog message with its parameters under an outer key
(zbzbInfo, or -k KEY); a missing parameter shows ???, an extra one is left.

  $ zbsvc msg zbzbFatal.InternalLine 'a<b' 12
  # Internal error: a<b at line 12 of ???
  $ zbsvc msg -k zbzbErrorWithId zbzbFatal.Abort 6 extra
  # Error [Process aborted (status 6)]: ???

An unknown key, as message or as outer key, is an error.

  $ zbsvc msg no.such.key
  2> # Error: Message key no.such.key not found in the catalog QORZbMessages
  [1]
  $ zbsvc msg -k noOuter zbzbFatal.Interrupt
  2> # Error: Message key noOuter not found in the catalog QORZbMessages
  [1]

A usage error: status 2, the reason first (unknown switches: zbsvc.t).

  $ zbsvc msg 2>&1 | sed -n 1p; echo "${PIPESTATUS[0]}"
  zbsvc msg: wrong number of arguments
  2
