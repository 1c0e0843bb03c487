#include "zbStrFunctions.h"

#include <cctype>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

size_t zbCompactBlanks(char* ioText, size_t iLength)
{
    size_t n = 0;
    bool pendingBlank = false;
    for (size_t i = 0; i < iLength;)
    {
        const char c = ioText[i];
        if (c == ' ' || c == '\t')
        {
            pendingBlank = n > 0;
            ++i;
            continue;
        }
        if (pendingBlank)
        {
            ioText[n++] = ' ';
            pendingBlank = false;
        }
        ioText[n++] = ioText[i++];
        if (c == '"' || c == '\'' || c == '`')
        {
            while (i < iLength && ioText[i] != c)
                ioText[n++] = ioText[i++];
            if (i < iLength)
                ioText[n++] = ioText[i++];
        }
    }
    return n;
}

char* zbStrDup(const char* iText)
{
    if (!iText)
        return nullptr;
    size_t length = std::strlen(iText);
    char* copy = new char[length + 1];
    std::memcpy(copy, iText, length + 1);
    return copy;
}

int zbCompareByCase(const void* iA, const void* iB, unsigned int iLength)
{
    if (!iA && !iB)
        return 0;
    if (!iA)
        return -1;
    if (!iB)
        return 1;
    const unsigned char* a = static_cast<const unsigned char*>(iA);
    const unsigned char* b = static_cast<const unsigned char*>(iB);
    for (unsigned int i = 0; i < iLength; ++i)
        if (a[i] != b[i] && std::tolower(a[i]) != std::tolower(b[i]))
            return static_cast<signed char>(a[i]) >= static_cast<signed char>(b[i]) ? 1 : -1;
    return 0;
}

char* zbStrChrTok(char* ioText, const char iDelimiter)
{
    static char* position = nullptr;
    if (ioText)
        position = ioText;
    if (!position)
        return nullptr;
    while (*position && *position == iDelimiter)
        ++position;
    if (!*position)
    {
        position = nullptr;
        return nullptr;
    }
    char* token = position;
    while (*position && *position != iDelimiter)
        ++position;
    if (*position)
        *position++ = '\0';
    return token;
}

namespace
{
inline bool IsBlank(char iChar)
{
    return iChar == ' ' || iChar == '\t';
}
} // namespace

char** zbBuildTabArgFromString(char* ioCommand)
{
    size_t blanks = 0, quotes = 0;
    if (ioCommand)
        for (const char* p = ioCommand; *p; ++p)
        {
            blanks += IsBlank(*p);
            quotes += *p == '"';
        }
    // Words are separated by blanks: at most blanks + 1 words and the null entry.
    char** argv = new char*[blanks + 2];
    size_t argc = 0;
    argv[0] = nullptr;
    if (!ioCommand)
        return argv;
    const bool quoting = quotes % 2 == 0;
    char* p = ioCommand;
    for (;;)
    {
        while (IsBlank(*p))
            ++p;
        if (!*p)
            break;
        char* word = p;
        char* out = p; // the word is compacted in place: out never passes p
        while (*p && !IsBlank(*p))
        {
            char quote = *p;
            if (!quoting || (quote != '"' && quote != '\''))
            {
                *out++ = *p++;
                continue;
            }
            for (++p; *p && *p != quote; ++p)
                *out++ = *p;
            if (*p)
                ++p; // the closing quote is dropped
        }
        const bool last = !*p;
        *out = '\0';
        if (!last)
            *p++ = '\0';
        argv[argc++] = word;
        argv[argc] = nullptr;
        if (last)
            break;
    }
    return argv;
}

void zbCountTwoBytes(const char* iBegin, const char* iEnd, char iFirst, char iSecond,
                     size_t& ioFirst, size_t& ioSecond)
{
    const char* p = iBegin;
#if defined(__SSE2__)
    // Byte counters, added up every 255 blocks before they overflow.
    const __m128i first = _mm_set1_epi8(iFirst), second = _mm_set1_epi8(iSecond);
    while (iEnd - p >= 16)
    {
        __m128i countFirst = _mm_setzero_si128(), countSecond = _mm_setzero_si128();
        for (int blocks = 0; blocks < 255 && iEnd - p >= 16; ++blocks, p += 16)
        {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            countFirst = _mm_sub_epi8(countFirst, _mm_cmpeq_epi8(v, first));
            countSecond = _mm_sub_epi8(countSecond, _mm_cmpeq_epi8(v, second));
        }
        const __m128i sumFirst = _mm_sad_epu8(countFirst, _mm_setzero_si128());
        const __m128i sumSecond = _mm_sad_epu8(countSecond, _mm_setzero_si128());
        ioFirst += static_cast<size_t>(_mm_cvtsi128_si32(sumFirst)) +
                   static_cast<size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sumFirst, 8)));
        ioSecond += static_cast<size_t>(_mm_cvtsi128_si32(sumSecond)) +
                    static_cast<size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sumSecond, 8)));
    }
#endif
    for (; p < iEnd; ++p)
    {
        ioFirst += *p == iFirst;
        ioSecond += *p == iSecond;
    }
}
