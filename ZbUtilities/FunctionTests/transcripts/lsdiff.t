zbsvc lsdiff: a line with more than two fields (a path holding a blank,
cut at the blank by the format) is read up to its second field; the lines
of a listing that have more are counted, and one warning gives their count
and the first of them.

  $ printf '1@1 a\n2@2 my file\n3@3 b\r\n4@4 other file x\n' >old
  $ printf '1@1 a\n' >new
  $ zbsvc lsdiff old new
  removed b
  removed my
  removed other
  0 added, 3 removed, 0 changed, 1 unchanged
  2> # Warning: Listing old: 2 lines hold more than two fields, of which only the first two are read (a path holding a blank is cut there); the first is line 2: 2@2 my file
