#ifndef zbCRC32_H
#define zbCRC32_H
// The library's CRC-32: polynomial 0x04C11DB7, most significant bit first,
// initial value and final exclusive or 0xFFFFFFFF (the parameters of
// CRC-32/BZIP2).  A null buffer or a zero length gives 0.

extern const unsigned int zbCRC32table[256];

unsigned int zbCRC32(const void* iBuffer, const unsigned int iLength);

#endif
