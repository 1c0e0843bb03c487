zbsvc macros: files read into one macro set (includes along -I), printed
NAME='value' in the set's order.  Later values replace earlier ones (-keep:
the first stays); -solve resolves $(NAME), :- (default), :+, :@ (literal).

  $ cat >a.mk <<'X'
  > A = $(B) a
  > include b.mk
  > E = $(U:-'d e') $(B:+'yes') $(U:@'no')
  > X
  $ mkdir inc && printf "B = 'b # b'\nA = from b\n" >inc/b.mk && echo 'A = from c' >c.mk
  $ zbsvc macros -solve -I inc a.mk
  B='b # b'
  A='from b'
  E='d e yes no'
  $ zbsvc macros -Iinc a.mk c.mk
  B='b # b'
  A='from c'
  E='$(U:-'d e') $(B:+'yes') $(U:@'no')'
  $ zbsvc macros -keep -dump -I inc a.mk c.mk
  #
  # Set of macros
  #  - 'B' = [b # b]
  #  - 'A' = [$(B) a]
  #  - 'E' = [$(U:-'d e') $(B:+'yes') $(U:@'no')]
  

A file that defines nothing is a valid empty set; standard input is "-".

  $ : >empty.mk && zbsvc macros empty.mk c.mk
  A='from c'
  $ printf 'A = 1\nB = $(A) 2\n' | zbsvc macros -solve -
  B='1 2'
  A='1'

An include not found, a missing file: reported, what was read printed.
Unbalanced $( and quotes are errors.

  $ zbsvc macros a.mk none.mk
  A='$(B) a'
  E='$(U:-'d e') $(B:+'yes') $(U:@'no')'
  2> # System error on b.mk: No such file or directory
  2> # System error on none.mk: No such file or directory
  [1]
  $ echo 'A = x $(B y' >bad.mk && zbsvc macros -solve bad.mk
  A='x '
  2> # Error: Unbalanced $() in [x $(B y]
  [1]
  $ echo "A = 'x" >quote.mk && zbsvc macros quote.mk
  2> # Error: Unbalanced ' in quote.mk['x]
  [1]

Includes nest 64 levels at most: in a chain of 70 files the 64th include
is refused, the 64 macros before it kept.

  $ for i in $(seq 0 68); do printf 'F%d = %d\ninclude f%d.mk\n' $i $i $((i + 1)) >f$i.mk; done
  $ echo 'LAST = 1' >f69.mk && zbsvc macros -I . f0.mk >out; echo "$? $(wc -l <out)"
  1 64
  2> # Error: Include of ./f64.mk refused: more than 64 nested include levels
