// zbCRC32: CRC-32/BZIP2 on every length and alignment, through every path.

#include "zbCRC32.h"
#include "zbTestSupport.h"

namespace
{
// Bit by bit from the definition: no table, no folding.
unsigned int Reference(const unsigned char* iBytes, size_t iLength)
{
    unsigned int crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < iLength; ++i)
    {
        crc ^= static_cast<unsigned int>(iBytes[i]) << 24;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    return ~crc;
}

std::vector<unsigned char> Pseudorandom(size_t iLength)
{
    std::vector<unsigned char> data(iLength);
    unsigned int state = 12345u;
    for (auto& byte : data)
    {
        state = state * 1103515245u + 12345u;
        byte = static_cast<unsigned char>(state >> 16);
    }
    return data;
}
} // namespace

// The check value, no input, and a CRC carried on piece by piece: the
// register passed in is the one the pieces before left.
TEST(zbCRC32, CheckValueEmptyInputAndContinuation)
{
    EXPECT_EQ(0xFC891918u, zbCRC32("123456789", 9));
    EXPECT_EQ(0u, zbCRC32("abc", 0) | zbCRC32(nullptr, 5) | zbCRC32Continue(0, nullptr, 0));
    std::vector<unsigned char> data = Pseudorandom(100000);
    unsigned int crc = 0;
    for (size_t at = 0; at < data.size(); at += 7)
        crc = zbCRC32Continue(crc, data.data() + at, std::min<size_t>(7, data.size() - at));
    EXPECT_EQ(zbCRC32(data.data(), static_cast<unsigned int>(data.size())), crc);
}

// Every path this processor runs, on the same bytes: every length up to
// 4096 at every alignment within 64 bytes against the definition, then a few
// megabytes against each other.
TEST(zbCRC32, EveryPathOnEveryLengthAndAlignment)
{
    const size_t maxLength = 4096, maxOffset = 64;
    std::vector<unsigned char> data = Pseudorandom(3u << 20);
    std::vector<unsigned int> expected(maxLength + 1);
    for (size_t length = 0; length <= maxLength; ++length)
        expected[length] = ~Reference(data.data(), length);
    std::vector<unsigned char> shifted(maxLength + maxOffset);
    unsigned int whole = 0;
    for (const zbCRC32Path* path = zbCRC32Paths; path->_Name; ++path)
    {
        if (!path->_Supported())
            continue;
        for (size_t offset = 0; offset < maxOffset; ++offset)
        {
            // Same bytes at another address: only the alignment changes.
            std::memcpy(shifted.data() + offset, data.data(), maxLength);
            const unsigned char* at = shifted.data() + offset;
            for (size_t length = 0; length <= maxLength; ++length)
                ASSERT_EQ(expected[length], path->_Update(0xFFFFFFFFu, at, length))
                    << path->_Name << ", length " << length << ", offset " << offset;
        }
        const unsigned int crc = path->_Update(0xFFFFFFFFu, data.data() + 1, data.size() - 1);
        whole = path == zbCRC32Paths ? crc : whole;
        EXPECT_EQ(whole, crc) << path->_Name << " on megabytes";
    }
}
