zbsvc lsdiff: listings (SIZE@TIME PATH) compared by path, without leading
./ and slashes around; a first field not SIZE@TIME skips the line but
with -text; -prefix puts P/ before every path.

  $ printf '1@1 ./Fw/b\n2@2 Fw/a\n3@3 Fw/c\n4@4 Fw/same\nbad Fw/ignored\n' >old
  $ printf '2@9 Fw/a\n4@4 /Fw/same/\n3@3 Fw/c\n5@5 Fw/0new\n' >new
  $ zbsvc lsdiff old new
  added   Fw/0new
  changed Fw/a 2@2 2@9
  removed Fw/b
  1 added, 1 removed, 1 changed, 2 unchanged
  $ zbsvc lsdiff -text -prefix inst old new
  added   inst/Fw/0new
  changed inst/Fw/a 2@2 2@9
  removed inst/Fw/b
  removed inst/Fw/ignored
  1 added, 2 removed, 1 changed, 2 unchanged

To test for "different": -q prints nothing, status 1 when they differ.

  $ zbsvc lsdiff -q old new
  [1]
  $ zbsvc lsdiff -q old old

20,000 paths over 7 frameworks: exactly their differences, sorted by path.

  $ awk 'BEGIN { for (i = 0; i < 20000; ++i) {
  >   p = "Fw" i % 7 "/d" i % 100 "/f" i; f = i * 7 "@" 1700000000 + i
  >   print f " ./" p >"old"
  >   if (i % 20 == 1) print "removed " p >"want"
  >   else if (i % 10 == 0) { g = i * 7 + 1 "@" 1700000000 + i; print g " " p >"new"; print "changed " p " " f " " g >"want" }
  >   else print f " " p >"new"
  >   if (i % 20 == 3) { print "1@1 New/" i >"new"; print "added   New/" i >"want" } } }'
  $ zbsvc lsdiff old new >got; tail -1 got; head -n -1 got | cmp - <(LC_ALL=C sort -b -k2,2 want) && echo same
  1000 added, 1000 removed, 2000 changed, 17000 unchanged
  same

Sorted by path (merged as read), and sorted but for the first line moved
to the end (the merge gives up for a table): the same findings.

  $ LC_ALL=C sort -k2,2 old >old.s; LC_ALL=C sort -k2,2 new >new.s
  $ zbsvc lsdiff old.s new.s | cmp - got && echo same
  same
  $ { tail -n +2 new.s; head -1 new.s; } >new.r; zbsvc lsdiff old.s new.r | cmp - got && echo same
  same

A listing that cannot be read: status 1, also with -q.

  $ zbsvc lsdiff -q old missing
  2> # Error: Listing missing could not be read: No such file or directory
  [1]

A line of more than two fields (a path holding a blank) is read up to its
second; one warning gives the count of such lines and the first.

  $ printf '1@1 a\n2@2 my file\n3@3 b\r\n4@4 other file x\n' >old; printf '1@1 a\n' >new
  $ zbsvc lsdiff old new
  removed b
  removed my
  removed other
  0 added, 3 removed, 0 changed, 1 unchanged
  2> # Warning: Listing old: 2 lines hold more than two fields, of which only the first two are read (a path holding a blank is cut there); the first is line 2: 2@2 my file
