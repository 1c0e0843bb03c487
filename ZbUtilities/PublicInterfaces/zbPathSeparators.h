#ifndef zbPathSeparators_H
#define zbPathSeparators_H
// The path-separator constants of the library.  Every normalisation writes
// the first character of zbPathSeparator.

constexpr const char zbLogicalPathSeparator[] = "@";
constexpr const char zbUnixPathSeparator[] = "/";
constexpr const char zbDosPathSeparator[] = "\\";
constexpr const char zbExtendSeparator[] = ".";
constexpr const char zbPathConcatSeparator[] = ":";
constexpr const char zbWSPathSeparator[] = "/./";
constexpr const char zbEndOfWSPathSeparator[] = "/.";
constexpr const char zbPathSeparator[] = "/";

#endif
