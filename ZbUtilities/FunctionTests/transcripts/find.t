zbsvc find -i: a name found whatever its case is printed as the directory
or the header map spells it (the map's directories need not exist).

  $ mkdir two; : >two/Foo.H; : >two/a.h; printf '!<zbhl> v2.0.1\n@/ws/./X/PublicInterfaces\nMixed.h\na.h\n' >map
  $ zbsvc find -i -path two -map map foo.h A.H MIXED.H mixed.h nope.h
  two/Foo.H
  two/a.h
  /ws/./X/PublicInterfaces/Mixed.h
  /ws/./X/PublicInterfaces/Mixed.h
  2> # Error: nope.h not found
  [1]

zbsvc find -names: a file holding a NUL byte is refused whole, in one
message; the names of the command line are still looked up.

  $ mkdir inc && touch inc/a.h && printf 'a.h\nb\0c\nd\n' >names
  $ zbsvc find -path inc -names names a.h
  inc/a.h
  2> # System error on names: holds a NUL byte: it is not a text file
  [1]

The directories of -path come first, in their order (a missing one passed
over), then the map; a name not found is reported.

  $ mkdir one && : >one/a.h; printf '!<zbhl> v2.0.1\n@/ws/./X/PublicInterfaces\nm.h\na.h\n' >hl
  $ zbsvc find -path one:missing -path two -map hl a.h Foo.H m.h
  one/a.h
  two/Foo.H
  /ws/./X/PublicInterfaces/m.h
  $ zbsvc find -path two foo.h a.h
  two/a.h
  2> # Error: foo.h not found
  [1]

A name with a directory part is probed in each directory, in order.

  $ zbsvc find -path missing:.:one two/a.h one/a.h two/nope.h
  ./two/a.h
  ./one/a.h
  2> # Error: two/nope.h not found
  [1]

Names given, then those of the file (an empty line passed over, the last
one without its line feed), then those of standard input.

  $ printf 'm.h\n\nnope.h\na.h' >list; echo m.h | zbsvc find -map hl -names list -stdin a.h
  /ws/./X/PublicInterfaces/a.h
  /ws/./X/PublicInterfaces/m.h
  /ws/./X/PublicInterfaces/a.h
  /ws/./X/PublicInterfaces/m.h
  2> # Error: nope.h not found
  [1]

A map that is no header list is reported; a damaged map keeps its entries
before the damage, a damaged line of names is left out, each reported with
its line.

  $ printf '!<zbhl> v9\n' >bad && zbsvc find -map bad a.h
  2> # Error: bad is not a header list: its first line is not the header-list magic line
  [1]
  $ printf '!<zbhl> v2.0.1\n@/ws/./X\nm.h\na\0.h\n' >cut && zbsvc find -map cut m.h a.h
  /ws/./X/m.h
  2> # Error: cut, line 4: damaged header list (a NUL byte, a cut line, a line outside a block or longer than a path): the entries from there on are left out
  2> # Error: a.h not found
  [1]
  $ { echo m.h; head -c 5000 /dev/zero | tr '\0' x; printf '\na.h\n'; } >damaged
  > zbsvc find -map hl -names damaged
  /ws/./X/PublicInterfaces/m.h
  /ws/./X/PublicInterfaces/a.h
  2> # Error: damaged, line 2: not a name (a NUL byte, or longer than a path can be): left out
  [1]

Thousands of names, from every source, found or not, over a generated map
of three directories (the second repeats half of the first's names: the
first wins; one entry holds a backslash): the output, errors merged, is
the one recorded.

  $ awk 'BEGIN { print "!<zbhl> v2.0.1"
  >   split("@/ws/./A/PublicInterfaces @|/ws/./B/PublicInterfaces @>/ws/./C/PublicInterfaces", d)
  >   for (k = 0; k < 3; k++) { print d[k + 1]; for (i = k * 300; i < k * 300 + 600; i++) printf "H%04d.h\n", i }
  >   print "Dos\\Name.h" }' >gen.hl
  > awk 'BEGIN { x = 12345; for (k = 0; k < 6000; k++) {
  >   x = (x * 69069 + 1) % 4294967296; printf "H%04d.h\n", int(x / 256) % 1300 } }' >plain
  > printf 'H0001.h/\nDos\\Name.h\nH0002.h\nH1250.h\nA/H0003.h\nH0004.h\n' >odd
  $ { head -n 300 plain | zbsvc find -map gen.hl H0005.h H9999.h -names plain -stdin; echo $?
  >   zbsvc find -map gen.hl -names odd; echo $?; } >out 2>&1; cksum <out; wc -l <out
  3243062096 205198
  6310
