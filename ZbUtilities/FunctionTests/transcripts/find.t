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
