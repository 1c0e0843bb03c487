zbsvc shm: usage errors of the three sub-verbs.

  $ for args in "nope" "serve nokey" "serve -size 0 k=f" "serve -ratio 4294967296 k=f" "get 1" "list"; do out=$(zbsvc shm $args 2>&1); echo "$? ${out%%$'\n'*}"; done
  2 zbsvc shm: unknown sub-verb 'nope'
  2 zbsvc shm serve: expects KEY=FILE arguments, not 'nokey'
  2 zbsvc shm serve: -size and -ratio expect a number from 1 to 4294967295
  2 zbsvc shm serve: -size and -ratio expect a number from 1 to 4294967295
  2 zbsvc shm get: wrong number of arguments
  2 zbsvc shm list: wrong number of arguments

zbsvc shm: a server and its clients (signals, concurrent clients:
zbsvcShmTests).  A segment smaller than the size given is refused; a block
written to a file keeps its bytes; a standard output that cannot be
written is reported once; a server that cannot print its segment ends.

  $ printf 'hello\n' >t; : >e; printf '\0\1\2|\n\377' >b; zbsvc shm serve t=t >/dev/full
  2> zbsvc: standard output: No space left on device
  [1]
  $ : >name; zbsvc shm serve -size 10000 -ratio 4 t=t e=e b=b >name &
  > until [ "$(wc -l <name)" = 2 ]; do sleep 0.05; done; n=$(head -n 1 name); c="-size 10000 -ratio 4 $n"
  > tail -n 1 name; zbsvc shm list $c; zbsvc shm get $c t; zbsvc shm get $c e; zbsvc shm get $c b out && cmp b out
  > { zbsvc shm get $c x; zbsvc shm list $n; zbsvc shm list $c >/dev/full; zbsvc shm get $c t >/dev/full; } 2>&1 | sed "s/$n/N/"
  > kill %1; wait %1; echo "status $?"; zbsvc shm list $c 2>&1 | sed "s/$n/N/"
  index 0.52% used (13 of 2500 bytes), data 0.16% used (12 of 7500 bytes)
  t|6
  e|0
  b|6
  hello
  # Error: Shared memory segment N, block x: No data found
  # Error: Shared memory segment N: Segment smaller than the expected size
  zbsvc: standard output: No space left on device
  zbsvc: standard output: No space left on device
  status 15
  # Error: Shared memory segment N: Invalid argument

A server that cannot publish a block, or read a file, ends with 1 and
leaves no segment.

  $ head -c 900 /dev/zero >big; echo s >small
  $ zbsvc shm serve -size 1000 s=small b=big c=small & wait $!; s=$?; ipcs -m -p | awk -v p=$! '$3 == p'; exit $s
  2> # Error: Block b \(big\) not published in segment [0-9]+: No space left on device (re)
  [1]
  $ zbsvc shm serve s=small m=missing & wait $!; s=$?; ipcs -m -p | awk -v p=$! '$3 == p'; exit $s
  2> # System error on missing: No such file or directory
  [1]
