#ifndef zbIOFNMatch_H
#define zbIOFNMatch_H
// Whole-name matching of a path against a pattern with "?" and "*".
//
// "/" and "\" are both separators; a separator in the pattern matches
// either.  Every other character ("[" and "]" included) matches only itself;
// there is no escape.  "?" matches one character and "*" any run of them,
// but neither takes a separator (unless ZBIO_MATCH_SEPARATOR) nor a "."
// right after a separator (unless ZBIO_MATCH_LEADING_DOT); the start of the
// name is not a separator.  Only the most recent "*" is retried: when it
// would have to take a refused character, the match fails.

enum
{
    ZBIO_MATCH_CASEFOLD = 0x10,    // letters compared without regard to case
    ZBIO_MATCH_LEADING_DOT = 0x20, // a wildcard may take a "." after a separator
    ZBIO_MATCH_SEPARATOR = 0x40,   // a wildcard may take a separator
};

// 1 when iName matches iPattern, else 0 (also for a null argument).
int zbIOFNMatch(const char* iPattern, const char* iName, const int iMetaMatch);

#endif
