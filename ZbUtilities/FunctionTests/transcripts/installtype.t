zbsvc installtype: 10 for a copied framework, 1 for a copied prerequisite
(the marker in various/, also through a link), 0 without a marker.

  $ cd $ZB_SOURCE_DIR/examples/workspace && zbsvc installtype FwAlpha FwBeta FwBetaLink FwAlpha/AlphaCore.m
  10 FwAlpha
  1 FwBeta
  1 FwBetaLink
  0 FwAlpha/AlphaCore.m
