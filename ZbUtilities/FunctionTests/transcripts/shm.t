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

A server that cannot publish a block, or read a file, ends with 1 and
leaves no segment (ipcs lists none it created).

  $ head -c 900 /dev/zero >big; echo s >small
  $ zbsvc shm serve -size 1000 s=small b=big c=small & wait $!; s=$?; ipcs -m -p | awk -v p=$! '$3 == p'; exit $s
  2> # Error: Block b \(big\) not published in segment [0-9]+: No space left on device (re)
  [1]
  $ zbsvc shm serve s=small m=missing & wait $!; s=$?; ipcs -m -p | awk -v p=$! '$3 == p'; exit $s
  2> # System error on missing: No such file or directory
  [1]
