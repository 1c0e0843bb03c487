zbsvc block: pack saves a file as a versioned block (56 bytes more),
scrambled with -crypt; info checks it and dumps it; unpack writes the user
data back.  One byte and 1 MiB of bytes of every value (the pieces the
bytes go through: zbFileBufferVersionedTests).

  $ seq 1000000 | gzip -1n >bytes; for size in 1 1048576; do for crypt in "" -crypt; do
  >   head -c $size bytes >in
  >   zbsvc block pack $crypt -v 7.0.$size in block &&
  >   echo "$size$crypt $(($(wc -c <block) - size)) $(zbsvc block info block | grep -E 'length|  Version|crypted' | paste -sd,)" &&
  >   zbsvc block unpack block out && cmp in out
  > done; done
  1 56 +   User data length  = 1,+   Version = 7.0.1,+   Block is not crypted
  1-crypt 56 +   User data length  = 1,+   Version = 7.0.1,+   Block is crypted
  1048576 56 +   User data length  = 1048576,+   Version = 7.0.1048576,+   Block is not crypted
  1048576-crypt 56 +   User data length  = 1048576,+   Version = 7.0.1048576,+   Block is crypted
  $ echo x >in && zbsvc block pack -crypt -v 1.2.3 in good && zbsvc block info good
  + Dump of zbFileBufferVersioned: _SIZEOF_BLOCK(_Block) = 56
  +  Control CRC     = 4068080486
  +  Internal:
  +   Control Version = 1
  +   Control Length  = 58
  +  User:
  +   User data length  = 2
  +   Version = 1.2.3
  +   Block is crypted
  +  *****  Crypted buffer end of dump  *****

A byte changed anywhere (in the CRC, the header, the version, the data)
is a damaged block for info and unpack alike.

  $ for at in 4 17 40 56; do
  >   { head -c $at good; tail -c +$((at + 1)) good | head -c 1 | tr '\000-\376' '\001-\377'; tail -c +$((at + 2)) good; } >block
  >   zbsvc block info block 2>>err; s=$?; zbsvc block unpack block out 2>>err; echo "$at $s $?"
  > done; uniq -c err
  4 1 1
  17 1 1
  40 1 1
  56 1 1
        8 # Error: Block file block is damaged: its control CRC does not match its content

Too short to be a block; a missing file to pack.

  $ head -c 56 good >block; for args in "info block" "pack -v 1.2.3 none block"; do zbsvc block $args; echo $?; done
  1
  1
  2> # Error: File block has a size that no block file can have
  2> # System error on none: No such file or directory

A file its user may not read (root runs as nobody) is said so, whatever
its size (this one is too short to be a block).

  $ chmod 755 .. . && echo data >small && chmod 0 small
  $ $([ "$(id -u)" = 0 ] && echo setpriv --reuid=65534 --regid=65534 --clear-groups) zbsvc block info small
  2> # Error: Block file small: Permission denied
  [1]
