#ifndef zbErrorCodeManager_H
#define zbErrorCodeManager_H
// Holder of the last system error number and its text.  The process-wide
// instance is zbExtLastError: every part of the library that sees a system
// call fail stores errno into it before reporting.

#include "QORUnicodeString.h"

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
    // strerror of the stored number, rebuilt on each call.
    QORUnicodeString& GetMsgError();

  private:
    QORUnicodeString _MsgError;
    int _Errno = 0;
};

extern zbErrorCodeManager zbExtLastError;

#endif
