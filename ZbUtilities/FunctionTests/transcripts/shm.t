zbsvc shm: usage errors of the three sub-verbs (a server at work, its
clients and its signals are tried in zbsvcShmTests).

  $ for args in "nope" "serve nokey" "serve -size 0 k=f" "serve -ratio 4294967296 k=f" "get 1"; do out=$(zbsvc shm $args 2>&1); echo "$? ${out%%$'\n'*}"; done
  2 zbsvc shm: unknown sub-verb 'nope'
  2 zbsvc shm serve: expects KEY=FILE arguments, not 'nokey'
  2 zbsvc shm serve: -size and -ratio expect a number from 1 to 4294967295
  2 zbsvc shm serve: -size and -ratio expect a number from 1 to 4294967295
  2 zbsvc shm get: wrong number of arguments

zbsvc shm: a standard output that cannot be written is reported once, in
the words of every verb.  A server that cannot print the segment's name
does not wait for a signal: it ends with 1.

  $ echo block >f
  $ zbsvc shm serve k=f >/dev/full
  2> zbsvc: standard output: No space left on device
  [1]
  $ : >name; zbsvc shm serve k=f >name &
  > until [ "$(wc -l <name)" = 2 ]; do sleep 0.05; done
  > zbsvc shm list "$(head -n 1 name)" >/dev/full
  > zbsvc shm get "$(head -n 1 name)" k >/dev/full
  > zbsvc shm get "$(head -n 1 name)" k
  > kill %1; wait %1
  block
  2> zbsvc: standard output: No space left on device
  2> zbsvc: standard output: No space left on device
  [15]
