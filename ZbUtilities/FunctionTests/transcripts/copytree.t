zbsvc copytree SRC DSTDIR copies SRC into DSTDIR/BASENAME.  A documentation
tree's links: to directories beside them, through ".." to directories and
files outside the tree, to its own parent, to nowhere.

  $ mkdir -p share/doc/git/contrib share/doc/gcc-12 share/doc/a share/doc/b \
  >   share/git-core/contrib/hooks share/gtk-doc/html/pkg share/doc/pkg-doc
  $ echo hook >share/git-core/contrib/hooks/post-receive; echo html >share/gtk-doc/html/pkg/index.html
  > echo notes >share/doc/gcc-12/NEWS; echo log >share/doc/b/changelog; cd share/doc
  > ln -s ../../../git-core/contrib/hooks git/contrib/hooks; ln -s ../../gtk-doc/html/pkg pkg-doc/reference
  > ln -s gcc-12 gcc; ln -s ../b/changelog a/changelog; ln -s .. a/up; ln -s ../../nowhere a/gone

By default every link is copied with its text: the copy compares the same.

  $ zbsvc copytree share/doc copy && zbsvc treediff -links 2 share/doc copy/doc

  $ cd copy/doc && find . -type l -printf '%p -> %l\n' | sort
  ./a/changelog -> ../b/changelog
  ./a/gone -> ../../nowhere
  ./a/up -> ..
  ./gcc -> gcc-12
  ./git/contrib/hooks -> ../../../git-core/contrib/hooks
  ./pkg-doc/reference -> ../../gtk-doc/html/pkg

-trace names each file concerned: here the link to nowhere.

  $ zbsvc copytree -trace share/doc traced
  2> # Error in GetLink() : No such file or directory : share/doc/a/gone

With -links 0 what a link points to is copied in its place, outside the
tree too; a link to a directory holding it becomes an empty directory; one
to nowhere cannot be copied and is named.

  $ zbsvc copytree -links 0 share/doc followed
  2> # Error: Copy of share/doc into followed incomplete: share/doc/a/gone: bad symbolic link
  [1]
  $ cd followed/doc && find . | sort | paste -sd' ' | fold -sw 76 | sed 's/ $//'
  . ./a ./a/changelog ./a/up ./b ./b/changelog ./gcc ./gcc-12 ./gcc-12/NEWS
  ./gcc/NEWS ./git ./git/contrib ./git/contrib/hooks
  ./git/contrib/hooks/post-receive ./pkg-doc ./pkg-doc/reference
  ./pkg-doc/reference/index.html

zbsvc copytree keeps modes, times and link texts (one of 2000 bytes), of
read-only files and directories, empty files and large directories too.

  $ cat >list.sh <<'END'
  > cd "$1" && { find . -type d; find . -type l -printf '%p -> %l\n'
  >   find . -type f -exec stat -c '%n %a %s %Y' {} +; } | sort
  > END
  $ mkdir -p G/d0 G/d3/sub && echo a >G/d0/f1.c && echo bb >G/d0/f2.c && echo c >G/d3/sub/f.h
  > : >G/d0/empty; for i in $(seq 40); do echo $i >G/d3/sub/n$i; done
  > touch -d @1500000000 G/d0/* G/d3/sub/*; chmod 755 G/d3/sub/f.h; chmod 400 G/d0/f2.c
  > ln -s f1.c G/d0/link; ln -s d0 G/dirlink; ln -s $(printf '%02000d' 0) G/longlink; chmod 555 G/d3
  $ zbsvc copytree G copy && zbsvc treediff -modes -links 2 G copy/G
  $ sh list.sh G >listing; sh list.sh copy/G | diff listing -; grep f2.c listing; stat -c %a copy/G/d3
  ./d0/f2.c 400 3 1500000000
  555

With -links 0 the copies of links are what they point to.

  $ rm G/longlink; zbsvc copytree -links 0 G followed && zbsvc treediff -links 0 G followed/G
  $ test -d followed/G/dirlink && test ! -L followed/G/dirlink && cmp G/d0/f1.c followed/G/d0/link

Run by the owner (not root, who needs no right): a read-only target and
read-only copies get write rights for the copy, then their own back.

  $ mkdir to && chmod 755 .. . && { [ "$(id -u)" != 0 ] || chown -R 65534:65534 G to; }
  $ chmod 555 to; $([ "$(id -u)" = 0 ] && echo setpriv --reuid=65534 --regid=65534 --clear-groups) zbsvc copytree G to
  $ stat -c '%a %n' to to/G/d3 to/G/d0/f2.c; chmod 755 to; zbsvc treediff -modes -links 2 G to/G
  555 to
  555 to/G/d3
  400 to/G/d0/f2.c
