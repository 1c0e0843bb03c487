zbsvc ls: the entries of directories, one full path a line (sorted here:
the order of a directory's entries is the system's); -r walks down, -f
keeps all but directories, -d directories only.  a/b/loop is a link back
to the top: every directory is walked once.

  $ mkdir -p t/a/b && touch t/top t/a/f t/a/b/g && ln -s ../.. t/a/b/loop
  $ zbsvc ls -r -f t | sort
  t/a/b/g
  t/a/f
  t/top
  $ zbsvc ls -r -d t | sort
  t/a
  t/a/b
  t/a/b/loop
  $ zbsvc ls -r t | sort
  t/a
  t/a/b
  t/a/b/g
  t/a/b/loop
  t/a/f
  t/top
  $ zbsvc ls t t/a | sort
  t/a
  t/a/b
  t/a/f
  t/top

-x leaves out the entries whose name matches (name, head*, *tail,
*inside*), but a directory left out is still walked.

  $ zbsvc ls -r -x a -x '*op' -x loop t | sort
  t/a/b
  t/a/b/g
  t/a/f
  $ zbsvc ls -r -x '*o*' -x 'f*' t | sort
  t/a
  t/a/b
  t/a/b/g

A missing directory, a file given as a directory: reported, status 1, the
rest listed.

  $ zbsvc ls -f missing t/a
  t/a/f
  2> # System error on missing: No such file or directory
  [1]
  $ zbsvc ls t/top
  2> # System error on t/top: Not a directory
  [1]
