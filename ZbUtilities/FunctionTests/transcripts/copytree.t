zbsvc copytree SRC DSTDIR copies SRC into DSTDIR/BASENAME.  A tree with the
kinds of links a documentation tree holds: links to directories beside
them, links whose text begins with ".." to directories and files outside
the tree, a link to its own parent, one that leads nowhere.

  $ mkdir -p share/doc/git/contrib share/doc/gcc-12 share/doc/a share/doc/b \
  >   share/git-core/contrib/hooks share/gtk-doc/html/pkg share/doc/pkg-doc
  $ echo hook >share/git-core/contrib/hooks/post-receive
  $ echo html >share/gtk-doc/html/pkg/index.html
  $ echo notes >share/doc/gcc-12/NEWS; echo log >share/doc/b/changelog
  $ ln -s ../../../git-core/contrib/hooks share/doc/git/contrib/hooks
  $ ln -s ../../gtk-doc/html/pkg share/doc/pkg-doc/reference
  $ ln -s gcc-12 share/doc/gcc; ln -s ../b/changelog share/doc/a/changelog
  $ ln -s .. share/doc/a/up; ln -s ../../nowhere share/doc/a/gone

With links kept as links (the default) every link is copied with its text,
and the copy compares the same, link texts included.

  $ zbsvc copytree share/doc copy
  $ zbsvc treediff -links 2 share/doc copy/doc

  $ cd copy/doc && find . -type l -printf '%p -> %l\n' | sort
  ./a/changelog -> ../b/changelog
  ./a/gone -> ../../nowhere
  ./a/up -> ..
  ./gcc -> gcc-12
  ./git/contrib/hooks -> ../../../git-core/contrib/hooks
  ./pkg-doc/reference -> ../../gtk-doc/html/pkg

-trace names each file concerned: here the link that leads nowhere, not
the copies about to be made.

  $ zbsvc copytree -trace share/doc traced
  2> # Error in GetLink() : No such file or directory : share/doc/a/gone

With -links 0 what a link points to is copied in its place, outside the
tree too; a link to a directory that holds it becomes an empty directory,
and one that leads nowhere cannot be copied: the report names it.

  $ zbsvc copytree -links 0 share/doc followed
  2> # Error: Copy of share/doc into followed incomplete: share/doc/a/gone: bad symbolic link
  [1]
  $ cd followed/doc && find . | sort
  .
  ./a
  ./a/changelog
  ./a/up
  ./b
  ./b/changelog
  ./gcc
  ./gcc-12
  ./gcc-12/NEWS
  ./gcc/NEWS
  ./git
  ./git/contrib
  ./git/contrib/hooks
  ./git/contrib/hooks/post-receive
  ./pkg-doc
  ./pkg-doc/reference
  ./pkg-doc/reference/index.html
