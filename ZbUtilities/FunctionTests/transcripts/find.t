zbsvc find -i: a name is found without regard to case, and the path printed
spells it as the entry found: as the directory listed it, or as the header
map wrote it (the map's directories need not exist).

  $ mkdir two; : >two/Foo.H; : >two/a.h
  $ printf '!<zbhl> v2.0.1\n@/ws/./X/PublicInterfaces\nMixed.h\na.h\n' >map
  $ zbsvc find -i -path two -map map foo.h A.H MIXED.H mixed.h nope.h
  two/Foo.H
  two/a.h
  /ws/./X/PublicInterfaces/Mixed.h
  /ws/./X/PublicInterfaces/Mixed.h
  2> # Error: nope.h not found
  [1]

zbsvc find -names: a file holding a NUL byte is no list of names and is
refused whole, in one message, as every text reader refuses one; the names
of the command line are still looked up.

  $ mkdir inc && touch inc/a.h && printf 'a.h\nb\0c\nd\n' >names
  $ zbsvc find -path inc -names names a.h
  inc/a.h
  2> # System error on names: holds a NUL byte: it is not a text file
  [1]
