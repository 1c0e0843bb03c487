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

Usage errors: the whole usage once, then the first line and the status.

  $ for args in "" "-k" "-x k"; do out=$(zbsvc msg $args 2>&1); echo "$? ${out%%$'\n'*}"; done
  2 zbsvc msg: wrong number of arguments
  2 zbsvc msg: option requires an argument -- k
  2 zbsvc msg: illegal option -- x
