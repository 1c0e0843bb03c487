zbsvc crc: one line per file (CRC, size, name); a file that cannot be read
is reported and makes the status 1.  3 MiB of one byte value spans several
read blocks, so the block-wise CRC must join up (value computed
independently of the library).

  $ printf 123456789 >check; : >empty; head -c 3145728 /dev/zero | tr '\0' a >big
  $ zbsvc crc check missing empty . big
  fc891918 9 check
  00000000 0 empty
  19c62a63 3145728 big
  2> # System error on missing: No such file or directory
  2> # System error on .: Is a directory
  [1]
  $ zbsvc crc check
  fc891918 9 check
  $ for args in ""; do out=$(zbsvc crc $args 2>&1); echo "$? ${out%%$'\n'*}"; done
  2 zbsvc crc: wrong number of arguments
  $ zbsvc crc check >/dev/full
  2> zbsvc: standard output: No space left on device
  [1]
