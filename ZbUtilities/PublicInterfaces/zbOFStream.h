#ifndef zbOFStream_H
#define zbOFStream_H
// Output stream: formatted text, strings, characters, blocks, whole-file
// copies and << inserters.  Every operation that returns a result flushes at
// once, so that output interleaves correctly with child processes; the
// inserters neither flush nor record errors.

#include "zbFStream.h"

class zbOFStream : public zbFStream
{
  public:
    zbOFStream() = default;
    explicit zbOFStream(FILE* iFile) : zbFStream(iFile) {}
    constexpr explicit zbOFStream(StandardStream iStandard) : zbFStream(iStandard) {}
    zbOFStream(const char* iName, const int& iMode) { _Open(iName, iMode, 0); }
    zbOFStream(const char* iName, const char* iFopenMode) { _Open(iName, iFopenMode); }
    ~zbOFStream() override;

    int Open(const char* iName, const int& iMode);
    int Open(const char* iName, const char* iFopenMode);

    int Write(const char* iBuffer, const unsigned int iCount);
    int Print(const char* iFormat, ...) __attribute__((format(printf, 2, 3)));
    int Putc(int iChar);
    int Puts(const char* iText);
    int Flush();
    // Appends the whole file iName (text mode when bit 8 of iMode is set).
    int CatFile(const char* iName, const int& iMode);

    zbOFStream& operator<<(const char* iText);
    zbOFStream& operator<<(unsigned char iChar);
    zbOFStream& operator<<(char iChar);
    zbOFStream& operator<<(int iValue);
    zbOFStream& operator<<(long iValue);
    zbOFStream& operator<<(unsigned int iValue);
    zbOFStream& operator<<(unsigned long iValue);
    zbOFStream& operator<<(double iValue);
    zbOFStream& operator<<(long double iValue);
    zbOFStream& operator<<(long long iValue);
    zbOFStream& operator<<(unsigned long long iValue);
    zbOFStream& operator<<(const void* iPointer);
    zbOFStream& operator<<(zbOFStream& (*iManipulator)(zbOFStream&));

  private:
    // Shared tail of the reporting operations: flush and record the outcome.
    int Finish(int iFailed);
};

// Manipulators: a newline then a flush; a flush.
zbOFStream& endl(zbOFStream& ioStream);
zbOFStream& flush(zbOFStream& ioStream);

// The process's standard output and standard error, borrowed.
extern zbOFStream zbStdout;
extern zbOFStream zbStderr;

#endif
