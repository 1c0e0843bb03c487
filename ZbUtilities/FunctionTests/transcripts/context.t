zbsvc context: the build context of the example tree.  Without -v nothing
is built, so nothing follows the heading of the concatenations.

  $ zbsvc context | sed "s|$ZB_SOURCE_DIR|SRC|"
  #
  # Current context:
  #   Debug level  = 0
  #   Verbose      = No
  #   ShowCommand  = No
  #   Performances = No
  #   Xml          = No
  #   Current Install path = [SRC/examples/install]
  #   Current path = \[/.*/work\] (re)
  #
  # Current concatenations:

With -v, the three search paths and the main specifications, resolved.

  $ zbsvc context -v | sed -n '/^# Current concatenations:/,$p' | sed "s|$ZB_SOURCE_DIR|SRC|"
  # Current concatenations:
  #  List of searched path:
  #   [SRC/examples/install/./code/tools/config]
  #  List of searched path:
  #   [SRC/examples/install/./code/tools/trame]
  #  List of searched path:
  #   [SRC/examples/install/./code/tools/data]
  #
  # Set of macros
  #  - 'Product' = [zbzb]
  #  - 'ProductTitle' = [zbzb V5]
  #  - 'ProductLevel' = [V5]
  #  - 'ToolsData' = [SRC/examples/install/code/tools/data]
  
