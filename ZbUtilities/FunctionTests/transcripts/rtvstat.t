zbsvc rtvstat: the elements of each framework's data file with the size
and time of ROOT/RTVNAME (not installed: a warning, 0@0); -list prints the
records (of one framework).

  $ mkdir -p root/A root/B && printf %12s >root/A/tool && printf %5s >root/B/tool
  $ touch -d @34 root/A/tool && touch -d @1700000000 root/B/tool
  $ printf '!<zbRTViewData> v1.0.0\nRTV/000/CUS bin/tool|A/tool\nBTV/001/QXI lib/gone|A/gone\n' >a.data
  $ printf '!<zbRTViewData> v1.0.0\nRTV/000/CUS bin/tool|B/tool\n' >b.data
  $ zbsvc rtvstat -root root -o out/s.stat A=a.data B=b.data && cat out/s.stat
  out/s.stat written (3 elements, 1 not installed)
  !<zbRTViewDataStat> v1.0.0
  RTV/000/CUS bin/tool|A/tool|12@34|A
  BTV/001/QXI lib/gone|A/gone|0@0|A
  RTV/000/CUS bin/tool|B/tool|5@1700000000|B
  2> # Warning: A/gone of framework A is not installed under root: recorded with size and time 0
  $ zbsvc rtvstat -list out/s.stat B
  RTV/000/CUS bin/tool|B/tool|5@1700000000|B
  $ zbsvc rtvstat -list out/s.stat
  RTV/000/CUS bin/tool|A/tool|12@34|A
  BTV/001/QXI lib/gone|A/gone|0@0|A
  RTV/000/CUS bin/tool|B/tool|5@1700000000|B

Without -o printed; the root is by default the current directory.

  $ zbsvc rtvstat B=b.data
  !<zbRTViewDataStat> v1.0.0
  RTV/000/CUS bin/tool|B/tool|0@0|B
  2> # Warning: B/tool of framework B is not installed under .: recorded with size and time 0

Wrong inputs: status 1, nothing written.

  $ for args in "-list out/s.stat C" "-list a.data" "-o x.stat A=out/s.stat A=missing"; do zbsvc rtvstat $args; echo $?; done
  > test -e x.stat || echo 'not written'
  1
  1
  1
  not written
  2> # Error: out/s.stat holds no framework C
  2> # Error: a.data is not a statistics file: its first line is not !<zbRTViewDataStat> v1.0.0 or a later version
  2> # Error: out/s.stat is not a runtime-view data file: its first line is not !<zbRTViewData> v1.0.0 or a later version
  2> # System error on missing: No such file or directory
