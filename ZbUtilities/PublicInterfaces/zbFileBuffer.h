#ifndef zbFileBuffer_H
#define zbFileBuffer_H
// A whole file in memory: one malloc'ed buffer, always followed by a NUL
// byte that the length does not count.  Empty: null buffer, length 0.

#include "QORHashDicoS.h"
#include "zbFileName.h"

class zbMacroSet;
class zbOFStream;
class zbPathFinderAccess;
class zbPPMacLev;

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

    // Preprocessing (zbPP, with a throw-away macro set; the levels are
    // checked).  The length follows the remaining text.  0, or 1 after an
    // error (the buffer is then empty).
    int zbPPBuffer(const zbPPMacLev& iLevels, const char* iFileName);
    // Preprocesses the buffer and replaces each #include "name" or
    // #include <name> by the preprocessed and expanded content of the file
    // iFinder finds, recursively (at most 50 levels).  With the environment
    // variable ZBZB_FBINCLUDEONCE set, a file is included once only.  The
    // names of the included files are appended to ioIncluded.  Returns the
    // number of errors (reported), 0 when none.
    int ExpandBuffer(const zbPPMacLev& iLevels, zbPathFinderAccess& iFinder,
                     QORListValzbFileName& ioIncluded, const char* iFileName);
    // The recursive step, for this buffer as file iFileName included from
    // iIncludingFileName, ioDepth levels deep.
    int _ExpandBuffer(const zbPPMacLev& iLevels, zbMacroSet& ioMacros, zbPathFinderAccess& iFinder,
                      QORHashDicoS& ioIncludedFiles, const char* iFileName,
                      const char* iIncludingFileName, unsigned int& ioDepth,
                      QORHashDicoS& ioRefusedFiles);

  private:
    void Release();
    // Reads the file iPath into the buffer and expands it as _ExpandBuffer
    // does; non-zero once reported when it cannot be read.
    int _ExpandFile(const char* iPath, int iOpenMode, const zbPPMacLev& iLevels,
                    zbMacroSet& ioMacros, zbPathFinderAccess& iFinder,
                    QORHashDicoS& ioIncludedFiles, const char* iIncludingFileName,
                    unsigned int& ioDepth, QORHashDicoS& ioRefusedFiles);

    int _OpenMode;
    char* _Buffer;
    unsigned int _Length;
};

#endif
