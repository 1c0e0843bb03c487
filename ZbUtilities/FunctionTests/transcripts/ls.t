zbsvc ls: the entries of directories, a path a line (sorted here); -r
walks down (once per directory: a/b/loop leads back to the top), -f keeps
all but directories, -d directories only.

  $ mkdir -p t/a/b && touch t/top t/a/f t/a/b/g && ln -s ../.. t/a/b/loop
  $ zbsvc ls -r -f t | sort
  t/a/b/g
  t/a/f
  t/top
  $ zbsvc ls -r -d t | sort
  t/a
  t/a/b
  t/a/b/loop
  $ zbsvc ls t t/a | sort
  t/a
  t/a/b
  t/a/f
  t/top

-x leaves out the names matching (name, head*, *tail, *inside*); a
directory left out is still walked.

  $ zbsvc ls -r -x a -x '*op' -x loop t | sort
  t/a/b
  t/a/b/g
  t/a/f
  $ zbsvc ls -r -x '*o*' -x 'f*' t | sort
  t/a
  t/a/b
  t/a/b/g

A missing directory, a file as a directory: reported, the rest listed.

  $ zbsvc ls -f missing t/a
  t/a/f
  2> # System error on missing: No such file or directory
  [1]
  $ zbsvc ls t/top
  2> # System error on t/top: Not a directory
  [1]
