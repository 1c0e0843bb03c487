zbsvc treediff A B compares two trees.  Links are compared by their texts
(-links 1, the default, and 2) whatever they point to, a directory above
them included.

  $ mkdir -p A/doc B/doc share/html/pkg
  $ ln -s ../../share/html A/doc/reference; ln -s ../../share/html/pkg B/doc/reference
  $ ln -s .. A/doc/parent; ln -s .. B/doc/parent
  $ zbsvc treediff -links 2 A B
  link doc/reference
  $ zbsvc treediff -q A B
  [1]

zbsvc treediff: a standard output that cannot be written is reported once,
with or without -trace; the status is 1.

  $ mkdir -p a b && echo one >a/f
  $ zbsvc treediff a b >/dev/full
  2> zbsvc: standard output: No space left on device
  [1]
  $ zbsvc treediff -trace a b >/dev/full
  2> zbsvc: standard output: No space left on device
  [1]
