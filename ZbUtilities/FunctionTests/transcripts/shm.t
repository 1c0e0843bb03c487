zbsvc shm: usage errors of the three sub-verbs (a server at work, its
clients and its signals are tried in zbsvcShmTests).

  $ for args in "nope" "serve nokey" "serve -size 0 k=f" "serve -ratio 4294967296 k=f" "get 1"; do out=$(zbsvc shm $args 2>&1); echo "$? ${out%%$'\n'*}"; done
  2 zbsvc shm: unknown sub-verb 'nope'
  2 zbsvc shm serve: expects KEY=FILE arguments, not 'nokey'
  2 zbsvc shm serve: -size and -ratio expect a number from 1 to 4294967295
  2 zbsvc shm serve: -size and -ratio expect a number from 1 to 4294967295
  2 zbsvc shm get: wrong number of arguments
