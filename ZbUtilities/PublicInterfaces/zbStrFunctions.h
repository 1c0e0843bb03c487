#ifndef zbStrFunctions_H
#define zbStrFunctions_H
// String functions on plain character data.

#include <cstddef>
#include <cstdint>
#include <cstring>

// Adds to ioFirst and ioSecond the numbers of iFirst and iSecond characters
// in [iBegin, iEnd), sixteen at a time.
void zbCountTwoBytes(const char* iBegin, const char* iEnd, char iFirst, char iSecond,
                     size_t& ioFirst, size_t& ioSecond);

// The exclusive or of iLength bytes read as big-endian 32-bit words, the
// last partial word padded with zero bytes at its low end (so "abc" gives
// 0x61626300); 0 for no bytes.  The key of the library's byte buffers and
// byte strings.
inline unsigned int zbXorWordsHash(const void* iBytes, size_t iLength)
{
    // Eight bytes a turn in the host's order, folded and turned at the end:
    // the exclusive or does not care in which order the bytes were taken.
    const unsigned char* p = static_cast<const unsigned char*>(iBytes);
    uint64_t wide = 0;
    size_t i = 0;
    for (; i + 8 <= iLength; i += 8)
    {
        uint64_t word;
        std::memcpy(&word, p + i, sizeof word);
        wide ^= word;
    }
    uint32_t key = static_cast<uint32_t>(wide) ^ static_cast<uint32_t>(wide >> 32);
    if (__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__)
        key = __builtin_bswap32(key);
    // Up to seven bytes left: byte k goes to byte k % 4 of a word, from the
    // most significant.
    for (unsigned int k = 0; i < iLength; ++i, ++k)
        key ^= static_cast<uint32_t>(p[i]) << (24 - 8 * (k % 4));
    return key;
}

// Compacts the blanks of [ioText, ioText + iLength) in place: tabs become
// blanks, leading and trailing blanks go, each inner run becomes one blank,
// except inside quoted parts: a double quote, a single quote or a back
// quote opens a part copied as it stands up to and including the next
// occurrence of the same character (or to the end).  Returns the new length;
// nothing is written after it.
size_t zbCompactBlanks(char* ioText, size_t iLength);

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
