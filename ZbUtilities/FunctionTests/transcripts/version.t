zbsvc version: major and minor from zbVersionData.mk of the data path,
preprocessed with DIR/TALVEXV5Level.lvl (DIR: the current directory by
default), the service pack from Zbzb_SPKLEVEL, the build number YYDDD.

  $ Zbzb_SPKLEVEL=3 zbsvc version -level $ZB_SOURCE_DIR/examples/install/code/tools/data | sed "s/ $(date +%y%j | sed 's/^0*//')\$/ TODAY/"
  MajorVersion = 5
  MinorVersion = 21
  ServicePack  = 3
  BuildNumber  = TODAY
  $ env -u Zbzb_SPKLEVEL zbsvc version -level $ZB_SOURCE_DIR/examples/install/code/tools/data | sed -n 3p
  ServicePack  = 0

Without ZB_RELEASE among the levels the minor version is 0.

  $ mkdir v5 && echo '#define ZB_V5' >v5/TALVEXV5Level.lvl && cd v5 && zbsvc version | sed -n 1,2p
  MajorVersion = 5
  MinorVersion = 0

A missing level file or version data: a warning, all four 0, status 0.

  $ zbsvc version -level . | paste -sd,
  MajorVersion = 0,MinorVersion = 0,ServicePack  = 0,BuildNumber  = 0
  2> # Warning: Level file ./TALVEXV5Level.lvl not found: the version stays 0
  $ mkdir empty && ZbzbINSTALL_PATH=$PWD/empty MY_ZBZB_DATA=$PWD/empty zbsvc version -level $ZB_SOURCE_DIR/examples/install/code/tools/data | paste -sd,
  MajorVersion = 0,MinorVersion = 0,ServicePack  = 0,BuildNumber  = 0
  2> # Warning: zbVersionData.mk not found along the data search path: the version stays 0

Files that cannot be used: an error naming the file, all four 0, status
1 (an empty level file, version data cut or holding a NUL: badinput.t).
Version data defining only MajorVersion, first along MY_ZBZB_DATA:

  $ mkdir -p my/code/tools/data && echo 'MajorVersion = 6' >my/code/tools/data/zbVersionData.mk
  $ MY_ZBZB_DATA=$PWD/my zbsvc version -level $ZB_SOURCE_DIR/examples/install/code/tools/data 2>&1 | sed "s|$PWD|.|" | paste -sd,
  # Error: ./my/./code/tools/data/zbVersionData.mk does not define MajorVersion and MinorVersion: the version stays 0,MajorVersion = 0,MinorVersion = 0,ServicePack  = 0,BuildNumber  = 0

