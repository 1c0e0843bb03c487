zbsvc treediff: a standard output that cannot be written is reported once,
with or without -trace; the status is 1.

  $ mkdir -p a b && echo one >a/f
  $ zbsvc treediff a b >/dev/full
  2> zbsvc: standard output: No space left on device
  [1]
  $ zbsvc treediff -trace a b >/dev/full
  2> zbsvc: standard output: No space left on device
  [1]
