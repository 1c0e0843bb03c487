#include "zbCrypt.h"

namespace
{
// The scrambling constant shared by both directions.
const unsigned char kScramble = 0x5B;
} // namespace

void zbCrypt(void* ioBuffer, const unsigned int iLength)
{
    if (!ioBuffer)
        return;
    unsigned char* p = static_cast<unsigned char*>(ioBuffer);
    for (unsigned int i = 0; i < iLength; ++i)
        p[i] = static_cast<unsigned char>(p[i] + static_cast<unsigned char>(i) + kScramble);
}

void zbDecrypt(void* ioBuffer, const unsigned int iLength)
{
    if (!ioBuffer)
        return;
    unsigned char* p = static_cast<unsigned char*>(ioBuffer);
    for (unsigned int i = 0; i < iLength; ++i)
        p[i] = static_cast<unsigned char>(p[i] - kScramble - static_cast<unsigned char>(i));
}
