zbsvc find -names: a file holding a NUL byte is no list of names and is
refused whole, in one message, as every text reader refuses one; the names
of the command line are still looked up.

  $ mkdir inc && touch inc/a.h && printf 'a.h\nb\0c\nd\n' >names
  $ zbsvc find -path inc -names names a.h
  inc/a.h
  2> # System error on names: holds a NUL byte: it is not a text file
  [1]
