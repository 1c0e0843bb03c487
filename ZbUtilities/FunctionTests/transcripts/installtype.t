zbsvc installtype over the example frameworks: 10 for a copied framework,
1 for a copied prerequisite (the marker in various/ when the framework has
none, also through a link), 0 without a marker.

  $ cd $ZB_SOURCE_DIR/examples/workspace && zbsvc installtype FwAlpha FwBeta FwBetaLink FwAlpha/AlphaCore.m
  10 FwAlpha
  1 FwBeta
  1 FwBetaLink
  0 FwAlpha/AlphaCore.m

Usage error and lost output.

  $ zbsvc installtype
  2> zbsvc installtype: wrong number of arguments
  2> usage: zbsvc installtype FW ...
  2>    print the install type of frameworks (0, 1 or 10)
  2>    -h, --help : print this help
  [2]
  $ cd $ZB_SOURCE_DIR/examples/workspace && zbsvc installtype FwAlpha >/dev/full
  2> zbsvc: standard output: No space left on device
  [1]
