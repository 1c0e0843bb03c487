zbsvc shm: usage errors of the three sub-verbs (a server at work, its
clients and its signals are tried in zbsvcShmTests).

  $ zbsvc shm nope
  2> zbsvc shm: unknown sub-verb 'nope'
  2> usage: zbsvc shm serve|get|list ARGUMENTS
  2>    publish files as blocks in shared memory, list and get them
  2> sub-verbs (zbsvc help shm VERB: the switches of one):
  2>    shm serve [-size BYTES] [-ratio N] KEY=FILE ...
  2>        publish the files as blocks of a new segment until SIGINT or SIGTERM
  2>    shm get [-size BYTES] [-ratio N] NAME KEY [OUT]
  2>        write one block of a segment
  2>    shm list [-size BYTES] [-ratio N] NAME
  2>        print the index lines of a segment
  [2]
  $ for args in "serve nokey" "serve -size 0 k=f" "serve -ratio 4294967296 k=f" "get 1"; do
  >   zbsvc shm $args 2>&1 | sed -n 1p; echo "${PIPESTATUS[0]}"; done
  zbsvc shm serve: expects KEY=FILE arguments, not 'nokey'
  2
  zbsvc shm serve: -size and -ratio expect a number from 1 to 4294967295
  2
  zbsvc shm serve: -size and -ratio expect a number from 1 to 4294967295
  2
  zbsvc shm get: wrong number of arguments
  2
