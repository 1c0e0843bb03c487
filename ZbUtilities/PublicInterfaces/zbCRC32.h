#ifndef zbCRC32_H
#define zbCRC32_H
// The library's CRC-32: polynomial 0x04C11DB7, most significant bit first,
// initial value and final exclusive or 0xFFFFFFFF (the parameters of
// CRC-32/BZIP2).  A null buffer or a zero length gives 0.

#include <cstddef>

// table[b]: the register change for byte b (one step is
// crc = (crc << 8) ^ table[(crc >> 24) ^ byte]).
extern const unsigned int zbCRC32table[256];

unsigned int zbCRC32(const void* iBuffer, const unsigned int iLength);

// Block-wise form for data that comes in pieces: start with 0 and pass each
// result to the next call; the result equals zbCRC32 of the whole (0 for
// no data).
unsigned int zbCRC32Continue(unsigned int iCRC, const void* iBuffer, size_t iLength);

// Register-level paths (the register is the CRC before its final exclusive
// or).  zbCRC32 and zbCRC32Continue use the fastest one the processor
// supports; all give the same results.
using zbCRC32UpdateFunction = unsigned int (*)(unsigned int iRegister, const unsigned char* iBytes,
                                               size_t iLength);
struct zbCRC32Path
{
    const char* _Name;
    zbCRC32UpdateFunction _Update;
    int (*_Supported)(); // 1 when this processor runs it
};
// Every path, the slowest first; the last row's name is null.
extern const zbCRC32Path zbCRC32Paths[];

unsigned int zbCRC32UpdateBytewise(unsigned int iRegister, const unsigned char* iBytes,
                                   size_t iLength);
unsigned int zbCRC32UpdateSlicing8(unsigned int iRegister, const unsigned char* iBytes,
                                   size_t iLength);
// Carry-less multiplication folding; only when zbCRC32HasFolding() is 1.
unsigned int zbCRC32UpdateFolding(unsigned int iRegister, const unsigned char* iBytes,
                                  size_t iLength);
int zbCRC32HasFolding();
// The same over 512-bit registers; only when zbCRC32HasFolding512() is 1.
unsigned int zbCRC32UpdateFolding512(unsigned int iRegister, const unsigned char* iBytes,
                                     size_t iLength);
int zbCRC32HasFolding512();

// The CRC (as zbCRC32 gives it) and the length of everything the
// descriptor gives from where it stands, read through the caller's buffer
// of iSize bytes, the register updated by iUpdate (null: the fastest path).
// 0, or the errno of a failed read.
int zbCRC32OfDescriptor(int iFd, void* ioBuffer, size_t iSize, unsigned int& oCRC,
                        unsigned long long& oLength, zbCRC32UpdateFunction iUpdate = nullptr);

#endif
