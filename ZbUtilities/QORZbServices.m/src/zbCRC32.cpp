#include "zbCRC32.h"

namespace
{
struct Table
{
    unsigned int _Entries[256];
    constexpr Table() : _Entries()
    {
        for (unsigned int i = 0; i < 256; ++i)
        {
            unsigned int crc = i << 24;
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
            _Entries[i] = crc;
        }
    }
};
constexpr Table kTable;
} // namespace

#define ZB_ROW(i) kTable._Entries[i]
#define ZB_ROW8(i)                                                                                 \
    ZB_ROW(i), ZB_ROW(i + 1), ZB_ROW(i + 2), ZB_ROW(i + 3), ZB_ROW(i + 4), ZB_ROW(i + 5),          \
        ZB_ROW(i + 6), ZB_ROW(i + 7)
#define ZB_ROW64(i)                                                                                \
    ZB_ROW8(i), ZB_ROW8(i + 8), ZB_ROW8(i + 16), ZB_ROW8(i + 24), ZB_ROW8(i + 32),                 \
        ZB_ROW8(i + 40), ZB_ROW8(i + 48), ZB_ROW8(i + 56)
const unsigned int zbCRC32table[256] = {ZB_ROW64(0), ZB_ROW64(64), ZB_ROW64(128), ZB_ROW64(192)};
#undef ZB_ROW64
#undef ZB_ROW8
#undef ZB_ROW

unsigned int zbCRC32(const void* iBuffer, const unsigned int iLength)
{
    if (!iBuffer || iLength == 0)
        return 0;
    const unsigned char* p = static_cast<const unsigned char*>(iBuffer);
    unsigned int crc = 0xFFFFFFFFu;
    for (unsigned int i = 0; i < iLength; ++i)
        crc = (crc << 8) ^ zbCRC32table[(crc >> 24) ^ p[i]];
    return crc ^ 0xFFFFFFFFu;
}
