#ifndef zbIFStream_H
#define zbIFStream_H
// Input stream: blocks and lines.

#include "zbFStream.h"

class zbNewString;

class zbIFStream : public zbFStream
{
  public:
    zbIFStream() = default;
    explicit zbIFStream(FILE* iFile) : zbFStream(iFile) {}
    zbIFStream(const char* iName, const int& iMode) { _Open(iName, iMode, 1); }
    zbIFStream(const char* iName, const char* iFopenMode) { _Open(iName, iFopenMode); }
    ~zbIFStream() override;

    int Open(const char* iName, const int& iMode);
    int Open(const char* iName, const char* iFopenMode);

    // Number of bytes read.
    int Read(char* oBuffer, const unsigned int iCount);
    // Reads up to the delimiter or iSize - 1 characters into oBuffer
    // (zero-filled first); 0 when a line was read, 1 otherwise.
    int Getline(char* oBuffer, const unsigned int iSize, const int iDelimiter);
    // Reads a whole line of any length; with iSkipEmpty, empty lines are
    // skipped.  0 when a line was read, 1 at end of file or on error.
    int Getline(zbNewString& oLine, const int iDelimiter, const int iSkipEmpty);
};

#endif
