#ifndef zbPathSeparators_H
#define zbPathSeparators_H
// Separators of file names and path lists.  Constant data: usable from any
// unit, also during static initialisation.

// Between the directories of a path.
constexpr char zbPathSeparator[] = "/";
// Marks the workspace root inside a path: ROOT/./intoWS.
constexpr char zbWSPathSeparator[] = "/./";
// Between the paths of a path list.
constexpr char zbPathConcatSeparator[] = ":";

#endif
