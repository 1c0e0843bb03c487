#include "zbCRC32.h"

#include <cerrno>
#include <cstdint>
#include <unistd.h>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ZB_CRC32_FOLDING 1
#endif

namespace
{
constexpr uint32_t kPolynomial = 0x04C11DB7u;

// Tables of slicing by 8: _Rows[k][b] is the register change of byte b
// followed by k zero bytes; row 0 is the exported table.
struct Tables
{
    uint32_t _Rows[8][256];
    constexpr Tables() : _Rows()
    {
        for (uint32_t i = 0; i < 256; ++i)
        {
            uint32_t crc = i << 24;
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc & 0x80000000u) ? (crc << 1) ^ kPolynomial : crc << 1;
            _Rows[0][i] = crc;
        }
        for (int k = 1; k < 8; ++k)
            for (uint32_t i = 0; i < 256; ++i)
            {
                uint32_t previous = _Rows[k - 1][i];
                _Rows[k][i] = (previous << 8) ^ _Rows[0][previous >> 24];
            }
    }
};
constexpr Tables kTables;

// x^iPower modulo the polynomial, for the folding constants.
constexpr uint64_t XPowerMod(int iPower)
{
    uint64_t r = 1;
    for (int i = 0; i < iPower; ++i)
    {
        r <<= 1;
        if (r & 0x100000000ull)
            r ^= 0x100000000ull | kPolynomial;
    }
    return r;
}

constexpr uint64_t kX128 = XPowerMod(128), kX192 = XPowerMod(128 + 64);
constexpr uint64_t kX512 = XPowerMod(512), kX576 = XPowerMod(512 + 64);
constexpr uint64_t kX2048 = XPowerMod(2048), kX2112 = XPowerMod(2048 + 64);

inline uint32_t LoadBigEndian32(const unsigned char* iBytes)
{
    return (uint32_t(iBytes[0]) << 24) | (uint32_t(iBytes[1]) << 16) | (uint32_t(iBytes[2]) << 8) |
           uint32_t(iBytes[3]);
}
} // namespace

#define ZB_ROW(i) kTables._Rows[0][i]
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

unsigned int zbCRC32UpdateBytewise(unsigned int iRegister, const unsigned char* iBytes,
                                   size_t iLength)
{
    uint32_t crc = iRegister;
    for (size_t i = 0; i < iLength; ++i)
        crc = (crc << 8) ^ zbCRC32table[(crc >> 24) ^ iBytes[i]];
    return crc;
}

unsigned int zbCRC32UpdateSlicing8(unsigned int iRegister, const unsigned char* iBytes,
                                   size_t iLength)
{
    const auto& t = kTables._Rows;
    uint32_t crc = iRegister;
    for (; iLength >= 8; iLength -= 8, iBytes += 8)
    {
        uint32_t high = crc ^ LoadBigEndian32(iBytes);
        crc = t[7][high >> 24] ^ t[6][(high >> 16) & 0xFF] ^ t[5][(high >> 8) & 0xFF] ^
              t[4][high & 0xFF] ^ t[3][iBytes[4]] ^ t[2][iBytes[5]] ^ t[1][iBytes[6]] ^
              t[0][iBytes[7]];
    }
    return zbCRC32UpdateBytewise(crc, iBytes, iLength);
}

#ifdef ZB_CRC32_FOLDING
// The data is a polynomial, its first bit the highest power.  Blocks of 16
// bytes are loaded byte-reversed, so that bit i of the 128-bit value is the
// coefficient of x^i.  Four accumulators run 64 bytes apart; folding an
// accumulator A = H x^64 + L over a distance of D bits replaces it by
// H (x^(D+64) mod P) + L (x^D mod P), which is congruent to A x^D modulo P
// and fits in 96 bits.  The register enters by an exclusive or into the
// first four bytes.  At the end the one remaining accumulator and the tail
// go through the table, which multiplies by x^32 and reduces.
#define ZB_FOLDING_TARGET __attribute__((target("pclmul,sse4.1")))
namespace
{
ZB_FOLDING_TARGET inline __m128i LoadReversed(const unsigned char* iAt)
{
    const __m128i reverse = _mm_set_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    return _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(iAt)), reverse);
}

ZB_FOLDING_TARGET inline __m128i Fold(__m128i iAcc, __m128i iConstants)
{
    return _mm_xor_si128(_mm_clmulepi64_si128(iAcc, iConstants, 0x11),
                         _mm_clmulepi64_si128(iAcc, iConstants, 0x00));
}

// The end of both foldings: 16-byte blocks folded into the accumulator,
// then the accumulator and the tail through the table.
ZB_FOLDING_TARGET unsigned int FinishFolding(__m128i iAcc, const unsigned char* iBytes,
                                             size_t iLength)
{
    const __m128i reverse = _mm_set_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    const __m128i k128 =
        _mm_set_epi64x(static_cast<long long>(kX192), static_cast<long long>(kX128));
    for (; iLength >= 16; iBytes += 16, iLength -= 16)
        iAcc = _mm_xor_si128(Fold(iAcc, k128), LoadReversed(iBytes));
    alignas(16) unsigned char rest[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(rest), _mm_shuffle_epi8(iAcc, reverse));
    return zbCRC32UpdateSlicing8(zbCRC32UpdateSlicing8(0, rest, 16), iBytes, iLength);
}
} // namespace

ZB_FOLDING_TARGET unsigned int zbCRC32UpdateFolding(unsigned int iRegister,
                                                    const unsigned char* iBytes, size_t iLength)
{
    if (iLength < 64)
        return zbCRC32UpdateSlicing8(iRegister, iBytes, iLength);
    const __m128i k512 =
        _mm_set_epi64x(static_cast<long long>(kX576), static_cast<long long>(kX512));
    const __m128i k128 =
        _mm_set_epi64x(static_cast<long long>(kX192), static_cast<long long>(kX128));

    __m128i a0 =
        _mm_xor_si128(LoadReversed(iBytes), _mm_set_epi32(static_cast<int>(iRegister), 0, 0, 0));
    __m128i a1 = LoadReversed(iBytes + 16);
    __m128i a2 = LoadReversed(iBytes + 32);
    __m128i a3 = LoadReversed(iBytes + 48);
    iBytes += 64, iLength -= 64;
    for (; iLength >= 64; iBytes += 64, iLength -= 64)
    {
        a0 = _mm_xor_si128(Fold(a0, k512), LoadReversed(iBytes));
        a1 = _mm_xor_si128(Fold(a1, k512), LoadReversed(iBytes + 16));
        a2 = _mm_xor_si128(Fold(a2, k512), LoadReversed(iBytes + 32));
        a3 = _mm_xor_si128(Fold(a3, k512), LoadReversed(iBytes + 48));
    }
    a1 = _mm_xor_si128(Fold(a0, k128), a1);
    a2 = _mm_xor_si128(Fold(a1, k128), a2);
    return FinishFolding(_mm_xor_si128(Fold(a2, k128), a3), iBytes, iLength);
}

int zbCRC32HasFolding()
{
    static const int has = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
    return has;
}

// The same with 512-bit registers: each holds four 16-byte blocks in its
// four lanes, and four registers run 64 bytes apart, so that each lane
// folds over 256 bytes; then the registers fold into one, and its lanes
// into one accumulator.
#define ZB_FOLDING512_TARGET __attribute__((target("avx512f,avx512bw,vpclmulqdq,pclmul,sse4.1")))
namespace
{
ZB_FOLDING512_TARGET inline __m512i LoadReversed512(const unsigned char* iAt)
{
    // Each lane's bytes in reverse order (the lane's 16 bytes numbered from
    // its low end).
    const __m512i reverse = _mm512_set4_epi64(0x0001020304050607ll, 0x08090a0b0c0d0e0fll,
                                              0x0001020304050607ll, 0x08090a0b0c0d0e0fll);
    return _mm512_shuffle_epi8(_mm512_loadu_si512(iAt), reverse);
}

// The register folded over the distance of iConstants, and iNext added.
ZB_FOLDING512_TARGET inline __m512i Fold512(__m512i iAcc, __m512i iConstants, __m512i iNext)
{
    return _mm512_ternarylogic_epi64(_mm512_clmulepi64_epi128(iAcc, iConstants, 0x11),
                                     _mm512_clmulepi64_epi128(iAcc, iConstants, 0x00), iNext, 0x96);
}

ZB_FOLDING512_TARGET inline __m512i Constants512(uint64_t iHigh, uint64_t iLow)
{
    const long long high = static_cast<long long>(iHigh), low = static_cast<long long>(iLow);
    return _mm512_set4_epi64(high, low, high, low);
}
} // namespace

ZB_FOLDING512_TARGET unsigned int
zbCRC32UpdateFolding512(unsigned int iRegister, const unsigned char* iBytes, size_t iLength)
{
    if (iLength < 256)
        return zbCRC32UpdateFolding(iRegister, iBytes, iLength);
    const __m512i k2048 = Constants512(kX2112, kX2048);
    const __m512i k512 = Constants512(kX576, kX512);
    const __m512i start =
        _mm512_zextsi128_si512(_mm_set_epi32(static_cast<int>(iRegister), 0, 0, 0));
    __m512i a0 = _mm512_xor_si512(LoadReversed512(iBytes), start);
    __m512i a1 = LoadReversed512(iBytes + 64);
    __m512i a2 = LoadReversed512(iBytes + 128);
    __m512i a3 = LoadReversed512(iBytes + 192);
    iBytes += 256, iLength -= 256;
    for (; iLength >= 256; iBytes += 256, iLength -= 256)
    {
        a0 = Fold512(a0, k2048, LoadReversed512(iBytes));
        a1 = Fold512(a1, k2048, LoadReversed512(iBytes + 64));
        a2 = Fold512(a2, k2048, LoadReversed512(iBytes + 128));
        a3 = Fold512(a3, k2048, LoadReversed512(iBytes + 192));
    }
    a1 = Fold512(a0, k512, a1);
    a2 = Fold512(a1, k512, a2);
    a3 = Fold512(a2, k512, a3);
    for (; iLength >= 64; iBytes += 64, iLength -= 64)
        a3 = Fold512(a3, k512, LoadReversed512(iBytes));
    const __m128i k128 =
        _mm_set_epi64x(static_cast<long long>(kX192), static_cast<long long>(kX128));
    __m128i acc = _mm512_maskz_extracti32x4_epi32(0xF, a3, 0);
    acc = _mm_xor_si128(Fold(acc, k128), _mm512_maskz_extracti32x4_epi32(0xF, a3, 1));
    acc = _mm_xor_si128(Fold(acc, k128), _mm512_maskz_extracti32x4_epi32(0xF, a3, 2));
    acc = _mm_xor_si128(Fold(acc, k128), _mm512_maskz_extracti32x4_epi32(0xF, a3, 3));
    return FinishFolding(acc, iBytes, iLength);
}

int zbCRC32HasFolding512()
{
    static const int has = zbCRC32HasFolding() && __builtin_cpu_supports("avx512f") &&
                           __builtin_cpu_supports("avx512bw") &&
                           __builtin_cpu_supports("vpclmulqdq");
    return has;
}
#else
unsigned int zbCRC32UpdateFolding(unsigned int iRegister, const unsigned char* iBytes,
                                  size_t iLength)
{
    return zbCRC32UpdateSlicing8(iRegister, iBytes, iLength);
}

int zbCRC32HasFolding()
{
    return 0;
}

unsigned int zbCRC32UpdateFolding512(unsigned int iRegister, const unsigned char* iBytes,
                                     size_t iLength)
{
    return zbCRC32UpdateSlicing8(iRegister, iBytes, iLength);
}

int zbCRC32HasFolding512()
{
    return 0;
}
#endif

namespace
{
int Always()
{
    return 1;
}

// The fastest path this processor runs, chosen once.
zbCRC32UpdateFunction Fastest()
{
    static const zbCRC32UpdateFunction fastest = zbCRC32HasFolding512() ? zbCRC32UpdateFolding512
                                                 : zbCRC32HasFolding()  ? zbCRC32UpdateFolding
                                                                        : zbCRC32UpdateSlicing8;
    return fastest;
}
} // namespace

const zbCRC32Path zbCRC32Paths[] = {
    {"table", zbCRC32UpdateBytewise, Always},
    {"slicing-by-8", zbCRC32UpdateSlicing8, Always},
    {"folding-128", zbCRC32UpdateFolding, zbCRC32HasFolding},
    {"folding-512", zbCRC32UpdateFolding512, zbCRC32HasFolding512},
    {nullptr, nullptr, nullptr},
};

unsigned int zbCRC32Continue(unsigned int iCRC, const void* iBuffer, size_t iLength)
{
    if (!iBuffer || !iLength)
        return iCRC;
    const unsigned char* bytes = static_cast<const unsigned char*>(iBuffer);
    return ~Fastest()(~iCRC, bytes, iLength);
}

int zbCRC32OfDescriptor(int iFd, void* ioBuffer, size_t iSize, unsigned int& oCRC,
                        unsigned long long& oLength, zbCRC32UpdateFunction iUpdate)
{
    const zbCRC32UpdateFunction update = iUpdate ? iUpdate : Fastest();
    unsigned char* buffer = static_cast<unsigned char*>(ioBuffer);
    unsigned int crc = 0xFFFFFFFFu;
    oLength = 0;
    for (;;)
    {
        const ssize_t count = ::read(iFd, buffer, iSize);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return errno;
        if (count == 0)
            break;
        crc = update(crc, buffer, static_cast<size_t>(count));
        oLength += static_cast<unsigned long long>(count);
    }
    // No data has no CRC (0), as for zbCRC32.
    oCRC = oLength ? ~crc : 0;
    return 0;
}

unsigned int zbCRC32(const void* iBuffer, const unsigned int iLength)
{
    return zbCRC32Continue(0, iBuffer, iLength);
}
