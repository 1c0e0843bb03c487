#ifndef zbStrFunctions_H
#define zbStrFunctions_H
// String functions on plain character data.

#include <cstddef>

// Adds to ioFirst and ioSecond the numbers of iFirst and iSecond characters
// in [iBegin, iEnd), sixteen at a time.
void zbCountTwoBytes(const char* iBegin, const char* iEnd, char iFirst, char iSecond,
                     size_t& ioFirst, size_t& ioSecond);

// A new[] copy with its terminator; null for null.
char* zbStrDup(const char* iText);

// Compares exactly iLength bytes (NUL bytes included), ignoring case.  At
// the first position where the bytes differ even after tolower, 1 when the
// byte of iA (as signed char) is >= that of iB, else -1; 0 when there is no
// such position or iLength is 0.  A null side is lower (both null: 0).
int zbCompareByCase(const void* iA, const void* iB, unsigned int iLength);

// Tokenizer on one delimiter character, like strtok: a non-null ioText
// starts over, null continues where the last call stopped.  The position is
// process-wide: one tokenization at a time.
char* zbStrChrTok(char* ioText, const char iDelimiter);

// Splits a command line in place into words and returns a new[] array of
// pointers into ioCommand, ended by a null entry (the caller deletes the
// array, never the words).  Words are separated by blanks and tabs.
//
// When the command holds an even number of double quotes, quotes group:
// "..." and '...' keep blanks and tabs inside the word and the quote
// characters are dropped (abc"d e"'f' gives the word abcd ef); there is no
// escape character.  A section whose closing quote is missing (possible
// with single quotes, or with a double quote swallowed by a single-quoted
// section) runs to the end of the command.  With an odd number of double
// quotes, quotes mean nothing and words end at the next blank or tab.
// A null command gives an array holding only the null entry.
char** zbBuildTabArgFromString(char* ioCommand);

#endif
