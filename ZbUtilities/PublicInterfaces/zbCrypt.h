#ifndef zbCrypt_H
#define zbCrypt_H
// The byte scrambler of the file buffers: byte i of the range (counted from
// 0) becomes byte + (i mod 256) + K, modulo 256, for a fixed one-byte K.
// zbDecrypt is the exact inverse.  A null buffer or a zero length does
// nothing.

void zbCrypt(void* ioBuffer, const unsigned int iLength);
void zbDecrypt(void* ioBuffer, const unsigned int iLength);

#endif
