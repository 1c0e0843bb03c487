#ifndef zbFileBuffer_H
#define zbFileBuffer_H
// A whole file in memory: one malloc'ed buffer, always followed by a NUL
// byte that the length does not count.  Empty: null buffer, length 0.

class zbOFStream;

// Open modes of files: 4 byte mode, bit 8 text mode (see zbFStream.h).
using zbIosOpenMode = int;

class zbFileBuffer
{
  public:
    zbFileBuffer();
    zbFileBuffer(const zbFileBuffer& iOther);
    zbFileBuffer& operator=(const zbFileBuffer& iOther);
    virtual ~zbFileBuffer();

    // Loads the whole file through zbMMap (which records a system error in
    // zbExtLastError).  A null path empties the buffer and gives 0.  1 on
    // failure, the buffer then being empty.
    int ReadFromFile(const char* iPath, const zbIosOpenMode& iMode);
    // Copies iLength bytes (empty for null data or a zero length).  Always 0.
    int DuplicateBuffer(const char* iData, const unsigned int iLength);

    char* GetBuffer() const { return _Buffer; }
    unsigned int GetBufferLength() const { return _Length; }

    void CryptBuffer();
    void DecryptBuffer();
    // zbCRC32 of the content.
    unsigned int ComputeCRC() const;
    // Exclusive or of the content read as big-endian 32-bit words, the last
    // partial word padded with zero bytes; 0 when empty.
    unsigned int ComputeHashKey() const;

    bool operator!() const { return _Buffer == nullptr; }
    bool operator==(const zbFileBuffer& iOther) const;

    // Writes the content; returns its length, 0 when empty, -1 when the
    // write fails (the stream keeps the errno).
    int Write(zbOFStream& oStream) const;

  private:
    void Release();

    int _OpenMode;
    char* _Buffer;
    unsigned int _Length;
};

#endif
