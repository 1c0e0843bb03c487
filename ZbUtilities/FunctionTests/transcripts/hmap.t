zbsvc hmap: a header map from header lists in order, directories made
WS/./NAME (a relative WS from the current directory); +WS=LIST: into-framework.

  $ printf '!<zbhl> v2.0.1\n@A/PublicInterfaces\nx.h\n' >one.hl; printf '!<zbhl> v2.0.1\n@>B/PrivateInterfaces\ny.h\n' >two.hl
  $ zbsvc hmap -o map +/ws2=two.hl /ws1=one.hl && cat map
  !<zbhl> v2.0.1
  @|>/ws2/./B/PrivateInterfaces
  y.h
  @/ws1/./A/PublicInterfaces
  x.h

  $ printf '!<zbhl> v2.0.1\n@A\nx.h\n' >l.hl
  $ zbsvc hmap -o map ws/sub=l.hl && cat map
  !<zbhl> v2.0.1
  @/.*/work/ws/sub/\./A (re)
  x.h

A damaged list (cut, NUL byte, line outside a block, line too long) is
reported with its line (status 1); the blocks before it go into the map.

  $ printf '!<zbhl> v2.0.1\n@A\nx.h\ny.h\n@B\nz.h' >cut.hl
  > printf '!<zbhl> v2.0.1\n@A\nx.h\n@B\nz\0.h\n@C\nw.h\n' >nul.hl
  > printf '!<zbhl> v2.0.1\nstray\n@A\nx.h\n' >stray.hl
  > { printf '!<zbhl> v2.0.1\n@A\nx.h\n'; head -c 5000 /dev/zero | tr '\0' y; printf '\n@B\nz.h\n'; } >long.hl
  $ for f in cut nul stray long; do rm -f map; { zbsvc hmap -o map /w=$f.hl; echo "status $?"; tail -n +2 map; } 2>&1 |
  >   sed 's/ (a NUL byte, a cut line, a line outside a block or longer than a path): the entries from there on are left out$//' | paste -sd' '; done
  # Error: cut.hl, line 6: damaged header list status 1 @/w/./A x.h y.h @/w/./B
  # Error: nul.hl, line 5: damaged header list status 1 @/w/./A x.h @/w/./B
  # Error: stray.hl, line 2: damaged header list status 1
  # Error: long.hl, line 4: damaged header list status 1 @/w/./A x.h

A map that cannot be written is named, not the list.

  $ zbsvc hmap -o /dev/full /w=l.hl
  2> # System error on /dev/full: No space left on device
  [1]
