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
