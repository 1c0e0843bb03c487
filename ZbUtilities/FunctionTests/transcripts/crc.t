zbsvc crc: CRC, size, name per file; one that cannot be read is reported
(status 1).  3 MiB spans several read blocks whose CRCs must join up (the
value computed independently of the library).

  $ printf 123456789 >check; : >empty; head -c 3145728 /dev/zero | tr '\0' a >big
  $ zbsvc crc check missing empty . big
  fc891918 9 check
  00000000 0 empty
  19c62a63 3145728 big
  2> # System error on missing: No such file or directory
  2> # System error on .: Is a directory
  [1]

-method names the way (here the byte table, which every processor runs).

  $ zbsvc crc -method table big check
  19c62a63 3145728 big
  fc891918 9 check
  $ zbsvc crc -method no-such-way check
  2> zbsvc crc: expects -method among table, slicing-by-8.* (re)
  2> Try 'zbsvc help crc'.
  [2]

An XML trace stays well-formed UTF-8: a control character and a byte that
is not UTF-8 are escaped there; the console keeps the bytes (cat -v here).

  $ zbsvc -xml t.xml crc $'ctl\001name' $'latin1\351name' 2>err
  [1]
  $ cat -v err; xmllint --noout t.xml && grep Object t.xml
  # System error on ctl^Aname: No such file or directory
  # System error on latin1M-iname: No such file or directory
  <SystemError Object="ctl\x01name" Message="No such file or directory"/>
  <SystemError Object="latin1\xe9name" Message="No such file or directory"/>
