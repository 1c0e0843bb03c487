zbsvc -h ends with the environment the library reads, mandatory first.

  $ zbsvc -h | sed -n '/^environment/,/BitMode/p'
  environment (read as zbsvc starts; without the first seven it stops at once;
  PREFIX/share/zbzb/env.sh sets them for the tree installed in PREFIX):
     ZbzbINSTALL_PATH=PREFIX/share/zbzb : installation roots, separated by ':'
     ZbzbOS_Buildtime=linux_b64 : build-time operating-system directory
     ZbzbOS_Runtime=code : run-time operating-system directory
     ZbzbOS_DOC=doc : documentation directory
     ZbzbOS_NAME=Linux : operating-system name
     ZbzbOS_Type=linux : operating-system type
     ZbzbOS_BitMode=64 : bit mode, 32 or 64

Without it the library stops the run before zbsvc's code, after a note
saying what to set.

  $ env -i "$(command -v zbsvc)" -h
  2> zbsvc: ZbzbINSTALL_PATH is missing or wrong: the library reads its build context from the environment
  2> zbsvc: to set: ZbzbINSTALL_PATH ZbzbOS_Buildtime ZbzbOS_Runtime ZbzbOS_DOC ZbzbOS_NAME ZbzbOS_Type ZbzbOS_BitMode
  2> zbsvc: their values: ENVIRONMENT in zbsvc(1); in an installed tree, . PREFIX/share/zbzb/env.sh
  2> # Fatal error: Internal error: ! ( ( Ptr == NULL ) || ( ! sscanf( Ptr, "%d", &_OSBitMode ) ) || ( ( _OSBitMode != 32 ) && ( _OSBitMode != 64 ) ) ) at line 119 of ZbUtilities/QORZbServices.m/src/zbContext
  [1]
