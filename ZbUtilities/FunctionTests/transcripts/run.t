zbsvc run and make's jobserver.  hold.sh N logs "+", waits until N starts
are logged since the last "phase" line (20 s at most: commands allowed
together do meet), stays 0.4 s more and logs "-"; most.sh prints the most
that ran at once (after the line "phase" when given one).

  $ cat >most.sh <<'END'
  > awk -v from="${2:-}" '$0 == from { c = 0; m = 0; on = 1; next }
  >   !from || on { if ($0 == "+") { c++; if (c > m) m = c } else if ($0 == "-") c-- }
  >   END { print m }' "$1"; rm -f "$1"
  > END
  $ cat >hold.sh <<'END'
  > echo + >>log; n=0
  > while [ "$(awk '$0 == "phase" { c = 0 } $0 == "+" { c++ } END { print c }' log)" -lt "$1" ] &&
  >   [ $n -lt 400 ]; do sleep 0.05; n=$((n + 1)); done
  > sleep 0.4; echo - >>log
  > END
  $ cat >mk <<'END'
  > C = 'sh hold.sh 4'
  > R = +zbsvc run -j 8 $(C) $(C) $(C) $(C) $(C) $(C)
  > all: a b c d
  > 	$(R)
  > a b c d:
  > 	$(R)
  > END

Four runs of -j 8 under make -j4 share make's four slots, and make sees
every token back (it would warn otherwise); without the jobserver they do
not.

  $ make -s -j4 -f mk; sh most.sh log
  4
  $ make -s -j4 -f mk C="'sh hold.sh 8'" R='+zbsvc run -jobserver off -j 8 $(C) $(C) $(C) $(C) $(C) $(C)'; sh most.sh log
  ([89]|1[0-9]|2[0-4]) (re)

A run interrupted by SIGINT (by another recipe, once its first command
started) gives its tokens back: the last run still gets the four slots.

  $ cat >int.mk <<'END'
  > C = 'sh hold.sh 4'
  > all: a b
  > 	@echo phase >>log
  > 	+zbsvc run -j 8 $(C) $(C) $(C) $(C) $(C) $(C)
  > a:
  > 	-+zbsvc run -j 8 'echo $$PPID >pid; exec sleep 60' $(C) $(C)
  > b:
  > 	@while [ ! -s pid ]; do sleep 0.05; done; kill -INT $$(cat pid)
  > END
  $ make -s -j4 -f int.mk 2>&1 | grep -v 'Error 2' ; sh most.sh log phase
  # Fatal error: Process interrupted
  4

zbsvc run -j 3 serves three slots to the makes its commands start; its
fifo is gone when the run ends, whatever ends it.

  $ printf 'all: 1 2 3 4\n1 2 3 4:\n\t@sh hold.sh 3\n' >sleepy.mk
  $ mkdir tmp; TMPDIR=$PWD/tmp zbsvc run -j 3 'make -f sleepy.mk' 'make -f sleepy.mk' 'make -f sleepy.mk'; sh most.sh log; ls tmp
  3
  $ TMPDIR=$PWD/tmp zbsvc run -j 3 'make -f sleepy.mk; kill -TERM $PPID; sleep 9'
  2> # Fatal error: Process interrupted
  [15]
  $ ls tmp; wc -l <log; rm log
  8

A jobserver fifo named in MAKEFLAGS: one token, two commands at once.  One
that cannot be reached (descriptors not passed, a fifo gone) is one
warning, and the run goes on with -j alone.

  $ mkfifo jobs; exec 3<>jobs; printf + >&3; C='sh hold.sh 2'
  > MAKEFLAGS=' -j2 --jobserver-auth=fifo:jobs' zbsvc run -j 8 "$C" "$C" "$C" "$C"; sh most.sh log
  2
  $ MAKEFLAGS=' -j4 --jobserver-auth=7,8' zbsvc run -j 2 'echo a' 'echo b'
  a
  b
  2> # Warning: The jobserver of MAKEFLAGS (7,8) cannot be used (Bad file descriptor): going on with -j alone
  $ MAKEFLAGS='-k --jobserver-auth=fifo:gone -- X=1' zbsvc run -j 2 true true
  2> # Warning: The jobserver of MAKEFLAGS (fifo:gone) cannot be used (No such file or directory): going on with -j alone

A command the shell would only start runs without it: the program leads
its process group itself.  With a metacharacter, or when the program is
not found (the shell names it in its own words), the shell runs it.

  $ zbsvc run -j 1 'cat /proc/self/stat' 'cat /proc/self/stat;' nosuch 2>err | awk '{ print $2, $1 == $5 }'; cat err
  (cat) 1
  (cat) 0
  sh: 1: nosuch: not found
  # Error: Action 3 failed with status 127: nosuch
  # Error: 1 of 3 actions failed

zbsvc run -engine slurm against stand-ins first on PATH (salloc, job 42,
and srun log their arguments and run what follows their options; sinfo
answers): one allocation, one step per action with the environment's
arguments, local statuses.  No cluster: one report, no action started.

  $ mkdir fake && cd fake && printf '#!/bin/sh\necho zbzb\n' >sinfo && printf '#!/bin/sh\nexit 1\n' >down
  > printf '#!/bin/sh\necho "$*" >>%s/log\nwhile [ "$1" != /bin/sh ]; do shift; done\nexec "$@"\n' $PWD >srun
  > printf '#!/bin/sh\necho "salloc $*" >>%s/log\nwhile [ "$1" != /bin/sh ]; do shift; done\nSLURM_JOB_ID=42 exec "$@"\n' $PWD >salloc
  > chmod +x *
  $ unset SLURM_CONF; PATH=$PWD/fake:$PATH ZBZB_SLURM_ARGS=--exclusive zbsvc run -engine slurm \
  >   -partition p -j 1 'echo out; echo err >&2; exit 3' 'kill -KILL $$' 'echo ok'
  out
  ok
  2> err
  2> # Error: Action 1 failed with status 3: echo out; echo err >&2; exit 3
  2> # Error: Action 2 failed with status 137: kill -KILL $$
  2> # Error: 2 of 3 actions failed
  [1]
  $ cat fake/log && rm fake/log && mv fake/down fake/sinfo
  salloc -Q -O -n 1 --partition=p --exclusive /bin/sh -c echo "$SLURM_JOB_ID"; read -r line
  -Q -Q --nodes=1 --ntasks=1 --jobid=42 --exact --overcommit --exclusive /bin/sh -c -- echo out; echo err >&2; exit 3
  -Q -Q --nodes=1 --ntasks=1 --jobid=42 --exact --overcommit --exclusive /bin/sh -c -- kill -KILL $$
  -Q -Q --nodes=1 --ntasks=1 --jobid=42 --exact --overcommit --exclusive /bin/sh -c -- echo ok
  $ unset SLURM_CONF; PATH=$PWD/fake:$PATH zbsvc run -engine slurm 'echo 1' 'echo 2'
  2> # Error: No Slurm cluster to run the actions on (the controller did not answer sinfo)
  [1]
  $ test -e fake/log || echo 'nothing started'
  nothing started

Each command's standard output whole when it ends, its standard error on
standard error; each failure named after the outputs (position, first line
cut at 60 characters), then the count.  -seq stops at the first failure
unless -k; the arguments run first, then the lines of -f's file (- standard
input) but blank ones and comments; a command may begin with -.

  $ zbsvc run -engine local 'echo here'
  here

  $ zbsvc run -j 1 'echo a; echo b >&2; echo c' 'exit 3' 'printf d'
  a
  c
  d (no-eol)
  2> b
  2> # Error: Action 2 failed with status 3: exit 3
  2> # Error: 1 of 3 actions failed
  [1]
  $ zbsvc run -j 3 true 'exit 0'
  $ zbsvc run -seq 'echo 1' 'kill -KILL $$' 'echo 3'
  1
  2> # Error: Action 2 failed with status 137: kill -KILL $$
  2> # Error: 1 of 3 actions failed
  [1]
  $ zbsvc run -seq -k 'echo 1' $'true\nfalse' 'echo 3' "exit 2 # $(printf %60s | tr ' ' x)"
  1
  3
  2> # Error: Action 2 failed with status 1: true...
  2> # Error: Action 4 failed with status 2: exit 2 # xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...
  2> # Error: 2 of 4 actions failed
  [1]
  $ printf 'echo from-file\n\n  # not run\n \t\necho second; exit 4\n' >list; zbsvc run -j 1 -f list 'echo arg'
  arg
  from-file
  second
  2> # Error: Action 3 failed with status 4: echo second; exit 4
  2> # Error: 1 of 3 actions failed
  [1]
  $ printf 'echo in\n\n' | zbsvc run -j 1 -f -
  in
  $ zbsvc run -f - && zbsvc run -j 1 -- -x 'echo ok'
  ok
  2> sh: 1: -x: not found
  2> # Error: Action 1 failed with status 127: -x
  2> # Error: 1 of 2 actions failed
  [1]
  $ zbsvc run -f missing
  2> # System error on missing: No such file or directory
  [1]
  $ for args in "" "-j 0 true" "-j x true" "-z" "-k true" "-engine grid true" "-partition p true" "-h"; do out=$(zbsvc run $args 2>&1); echo "$? ${out%%$'\n'*}"; done
  2 zbsvc run: no command to run
  2 zbsvc run: -j expects a number from 1 to 4096
  2 zbsvc run: -j expects a number from 1 to 4096
  2 zbsvc run: illegal option -- z
  2 zbsvc run: -k goes with -seq (a parallel run always goes on)
  2 zbsvc run: -engine expects local or slurm
  2 zbsvc run: -partition needs -engine slurm
  0 usage: zbsvc run [-engine local|slurm] [-partition P] [-j N] [-seq [-k]] [-jobserver on|off] [-time] [-f FILE] [--] [COMMAND ...]
  $ zbsvc run -time true
  #_time_  ---------------------------------------------------------------------------------------------------
  #_time_GGlobal execution {54}Real 00:00:0[0-9] User +[0-9]+\.[0-9]{2} (re)
  #_time_  ---------------------------------------------------------------------------------------------------
  $ zbsvc -xml t.xml run -j 2 "echo '<a & b>'" 'exit 2'; tail -n 4 t.xml; xmllint --noout t.xml
  <a & b>
  &lt;a &amp; b&gt;
  <Error Message="Action 2 failed with status 2: exit 2"/>
  <Error Message="1 of 2 actions failed"/>
  </Application>
  2> # Error: Action 2 failed with status 2: exit 2
  2> # Error: 1 of 2 actions failed
