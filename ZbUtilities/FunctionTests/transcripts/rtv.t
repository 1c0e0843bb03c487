zbsvc rtv merge: data files merged by element name (higher type, then QXI
over CUS, wins); a later version of the format is read; the file is
written only when its text changes.

  $ cat >a.data <<'X'
  > !<zbRTViewData> v1.0.0
  > RTV/003/CUS lib/a.so|code/lib/a.so
  > BTV/000/QXI inc/b.h
  > X
  $ cat >b.data <<'X'
  > !<zbRTViewData> v1.0.1
  > RTV/001/QXI lib/a.so|code/lib/other.so
  > DAT/002/CUS res/d.txt|resources/d.txt
  > INT/000/QXI inc/b.h|x
  > X
  $ zbsvc rtv merge -o out/merged.data a.data b.data && cat out/merged.data
  out/merged.data written (3 elements)
  !<zbRTViewData> v1.0.0
  RTV/001/QXI lib/a.so|code/lib/other.so
  DAT/002/CUS res/d.txt|resources/d.txt
  INT/000/QXI inc/b.h|x
  $ touch -d @1000000000 out/merged.data && zbsvc rtv merge -o out/merged.data a.data b.data && stat -c %Y out/merged.data
  out/merged.data unchanged (3 elements)
  1000000000

Two runtime-view names for one element are reported (not a failure) between
files with -dup (inside one file always: zbRTViewTests).

  $ zbsvc rtv merge -dup -o out/merged.data a.data b.data
  out/merged.data unchanged (3 elements)
  2> # Error: Runtime-view element lib/a.so is given two runtime-view names: code/lib/a.so and code/lib/other.so

Unreadable, empty, older version: each reported, status 1, nothing written.

  $ printf '!<zbRTViewData> v0.9\nRTV/003/CUS x\n' >old.data && : >empty.data
  $ zbsvc rtv merge -o out.data a.data none.data empty.data old.data; echo $?; test -e out.data || echo 'not written'
  1
  not written
  2> # System error on none.data: No such file or directory
  2> # Error: Runtime-view data file empty.data is empty
  2> # Error: old.data is not a runtime-view data file: its first line is not !<zbRTViewData> v1.0.0 or a later version

rtv list: the elements whose tag bits are all in the masks.

  $ zbsvc rtv merge -o m.data a.data b.data >/dev/null
  $ for masks in "" "-type RTV,Data" "-type 0x104 -exp CUS" "-exp 2" "-exp Deliverable,NotDeliverable -type 2"; do
  >   echo "$masks:" $(zbsvc rtv list $masks m.data | cut -c1-3); done
  : RTV DAT INT
  -type RTV,Data: RTV DAT
  -type 0x104 -exp CUS: DAT
  -exp 2: RTV INT
  -exp Deliverable,NotDeliverable -type 2:
