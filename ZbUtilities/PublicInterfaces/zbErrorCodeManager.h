#ifndef zbErrorCodeManager_H
#define zbErrorCodeManager_H
// Holder of the last system error number and its text.  The process-wide
// instance is zbExtLastError: every part of the library that sees a system
// call fail stores errno into it before reporting.

#include "QORUnicodeString.h"

// A number of the library's own, beyond every errno: a text file refused
// for holding a NUL byte (its readers would stop there, the rest unseen).
const int zbErrnoNulByte = 0x10000;

class zbErrorCodeManager
{
  public:
    zbErrorCodeManager() = default;
    virtual ~zbErrorCodeManager() = default;

    int SetErrno(const int iErrno)
    {
        _Errno = iErrno;
        return _Errno;
    }
    int GetErrno() const { return _Errno; }
    // strerror of the stored number, rebuilt on each call (the catalog's
    // text for the library's own numbers).
    QORUnicodeString& GetMsgError();

  private:
    QORUnicodeString _MsgError;
    int _Errno = 0;
};

extern zbErrorCodeManager zbExtLastError;

#endif
