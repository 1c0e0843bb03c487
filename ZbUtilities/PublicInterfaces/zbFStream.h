#ifndef zbFStream_H
#define zbFStream_H
// Common base of the library's streams over standard FILE* streams: open,
// close and error state.  Failures are never printed: they are left in
// GetErrno() (22, EINVAL, for an operation on a stream that is not open).
//
// Open modes (flags): 8 = text, 2 = append; callers pass 4 for byte mode.

#include <cstdio>

class zbFStream
{
  public:
    // Selects one of the process's standard streams (zbStdout, zbStderr).
    enum StandardStream
    {
        StandardOutput = 1,
        StandardError = 2
    };

    zbFStream() = default;
    explicit zbFStream(FILE* iFile);
    // A borrowed standard stream, resolved at use: usable during static
    // initialisation of any unit, before the standard streams may be read.
    constexpr explicit zbFStream(StandardStream iStandard)
        : _Borrowed(1), _Errno(0), _File(nullptr), _Standard(iStandard)
    {
    }
    zbFStream(const zbFStream&) = delete;
    zbFStream& operator=(const zbFStream&) = delete;
    virtual ~zbFStream();

    int _Open(const char* iName, const int& iMode, int iForReading);
    int _Open(const char* iName, const char* iFopenMode);

    int IsOpen() const { return GetFile() ? 1 : 0; }
    int GetErrno() const { return _Errno; }
    FILE* GetFile() const
    {
        if (_File)
            return _File;
        return _Standard == StandardOutput ? stdout : (_Standard == StandardError ? stderr : nullptr);
    }
    int GetFileNo() const;

    int Rewind();
    int ReadError();
    int EndOfFile();
    int ClearError();
    int Close();

  protected:
    int _Borrowed = 0;
    int _Errno = 22;
    FILE* _File = nullptr;
    int _Standard = 0;
};

#endif
