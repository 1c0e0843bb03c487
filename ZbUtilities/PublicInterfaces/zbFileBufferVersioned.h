#ifndef zbFileBufferVersioned_H
#define zbFileBufferVersioned_H
// The versioned block: the persistent cache format of the tool family.
//
// A block file is a 56-byte header followed by the caller's data.  Every
// integer is little-endian; offsets from the start of the file:
//
//    0  4  control CRC: zbCRC32 of bytes 4 to the end of the file, as stored
//    4  4  reserved, 0
//    8  4  control version, 1
//   12  4  reserved, 0
//   16  8  control length: the file length, 56 + n
//   24  8  user data length n
//   32  4  crypt level: 0 plain, 1 scrambled
//   36 12  version: three numbers of the caller
//   48  8  reserved, 0
//   56  n  user data
//
// At crypt level 1, bytes 36 to 55 and the user data are stored scrambled by
// zbCrypt, each range on its own.  A file of 56 bytes or less is refused, so
// a block with empty user data can be written but not read back.
//
// Saving: SetBuffer, SetVersion, optionally CryptBuffer, then WriteToFile.
// Loading: ReadFromFile, GetVersion, DecryptBuffer when GetCryptLevel() is
// not 0, then GetBuffer and GetBufferLength.  Nothing here prints: a
// failure is answered by the result and GetLastErrorMessage().

#include "QORUnicodeString.h"

#include <cstddef>

class zbOFStream;

class zbFileBufferVersioned
{
  public:
    enum
    {
        HeaderLength = 56,
        // Lengths are counted in 32 bits, the terminating NUL included.
        MaxBlockLength = 0xFFFFFFFBu
    };

    zbFileBufferVersioned();
    virtual ~zbFileBufferVersioned();
    zbFileBufferVersioned(const zbFileBufferVersioned&) = delete;
    zbFileBufferVersioned& operator=(const zbFileBufferVersioned&) = delete;

    // Replaces the user data by a copy of iData (empty for null data or a
    // zero length) at crypt level 0; the version stays.  Returns the user
    // data, or null when the data cannot be held (the last error message
    // then says why and the block is empty).
    char* SetBuffer(const char* iData, const unsigned int iLength);
    // As SetBuffer of the whole content of the file iPath, read straight
    // into the block.  0, or 1 when the file cannot be read or held: the
    // system error is then in zbExtLastError, the last error message says
    // why and the block is empty.
    int SetBufferFromFile(const char* iPath);
    void SetVersion(const unsigned int iFirst, const unsigned int iSecond,
                    const unsigned int iThird);
    void GetVersion(unsigned int& oFirst, unsigned int& oSecond, unsigned int& oThird) const;

    char* GetBuffer() const { return _UserData; }
    unsigned int GetBufferLength() const { return static_cast<unsigned int>(_Header._UserLength); }
    unsigned int GetCryptLevel() const { return _Header._CryptLevel; }
    const QORUnicodeString& GetLastErrorMessage() const { return _LastErrorMessage; }

    // Scrambles the block (nothing when already scrambled).
    void CryptBuffer();
    // Descrambles the user data in place and marks the block plain.
    void DecryptBuffer();

    // 0 on success, 1 on failure (the block is then empty).
    int ReadFromFile(const char* iPath);
    // The whole block, or the user data alone (as it stands: descramble
    // first for the plain bytes).  The file is replaced once the new content
    // is complete; after a failure it is left as it was and the last error
    // message names it.
    int WriteToFile(const char* iPath);
    int WriteUserDataToFile(const char* iPath);

    // Writes the block file iOut that SetBufferFromFile(iIn), SetVersion,
    // CryptBuffer when iCrypt, then WriteToFile(iOut) would write, without
    // holding the data: it goes through a small buffer, read, scrambled when
    // asked, added to the CRC and written, the CRC being written last.  The
    // block is left empty.  0 on success; 1 when iIn cannot be opened or
    // read (the system error is in zbExtLastError); 2 on any other failure
    // (the last error message says why).  iOut is replaced once the block is
    // complete: after a failure it is left as it was, and iOut may be iIn.
    int PackFile(const char* iIn, const char* iOut, const unsigned int iVersion[3],
                 const int iCrypt);

    // Lines starting with "+".
    void Dump(zbOFStream& oStream);

  private:
    // The header in host order.
    struct Header
    {
        unsigned int _ControlCRC;
        unsigned int _Reserved1;
        unsigned int _ControlVersion;
        unsigned int _Reserved2;
        unsigned long long _ControlLength;
        unsigned long long _UserLength;
        unsigned int _CryptLevel;
        unsigned int _Version[3];
        unsigned long long _Reserved3;
    };

    // Empty block, header as after construction; keeps the allocation.
    void Reset();
    // Copies the header into the first 56 bytes of the block, little-endian.
    void StoreHeader();
    // Makes room for a block of iLength bytes and its NUL; the content is
    // not kept.  1 when the memory cannot be had.
    int Reserve(unsigned int iLength);
    // Sets the last error message from a key and the path (and the text of
    // the error in zbExtLastError when iSystem).
    void SetError(const char* iKey, const char* iPath, int iSystem);
    // Records iErrno, sets "filebuf.systError", empties the block; 1.
    int SystemFailure(int iErrno, const char* iPath);
    // Replaces the file iPath by iLength bytes at iData; 0, or 1 with the
    // last error message set.
    int WriteFile(const char* iPath, const char* iData, size_t iLength);
    // The one writer of block files: replaces iOut by the header ioHeader
    // (56 bytes as stored; its CRC is set here) and iLength bytes of user
    // data, from memory at iData, or when iData is null read from iIn and
    // scrambled on the way when iScramble.  0; 1 when reading iIn fails
    // (the error in zbExtLastError); 2 on any other failure (the last error
    // message says why, iInName naming a file that shrank).
    int WriteBlock(const char* iOut, char* ioHeader, unsigned int iLength, const char* iData,
                   int iIn = -1, const char* iInName = nullptr, int iScramble = 0);

    QORUnicodeString _LastErrorMessage;
    char* _Block;
    unsigned int _BlockAllocated;
    char* _UserData;
    unsigned int _BlockLength;
    Header _Header;
};

#endif
