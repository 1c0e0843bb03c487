#include "zbReport.h"

#include <cerrno>
#include <cstdio>

#include "zbContext.h"
#include "zbErrorCodeManager.h"
#include "zbTraceManager.h"

namespace
{
int Print(const zbKeyForTraceManager& iOuterKey, const QORString& iKey,
          std::initializer_list<QORUnicodeString> iParams)
{
    zbExtContext.GetTraceMngr()->PrintMessage(iOuterKey, stderr, iKey, iParams.begin(),
                                              static_cast<int>(iParams.size()));
    return 1;
}
} // namespace

int zbRecordErrno(int iErrno)
{
    zbExtLastError.SetErrno(iErrno ? iErrno : EIO);
    return 1;
}

int zbReportLastError(const char* iObject)
{
    QORUnicodeString params[2] = {QORUnicodeString(iObject ? iObject : ""),
                                  zbExtLastError.GetMsgError()};
    zbExtContext.GetTraceMngr()->Print(MSG_KEY_systError, stderr, params, 2);
    return 1;
}

int zbReportSystemError(const char* iObject, int iErrno)
{
    zbRecordErrno(iErrno);
    return zbReportLastError(iObject);
}

int zbReportText(const QORUnicodeString& iText)
{
    zbExtContext.GetTraceMngr()->Print(MSG_KEY_zbzbError, stderr, iText);
    return 1;
}

int zbReportWarningText(const QORUnicodeString& iText)
{
    zbExtContext.GetTraceMngr()->Print(MSG_KEY_zbzbWarning, stderr, iText);
    return 1;
}

int zbReportMessage(const QORString& iKey, std::initializer_list<QORUnicodeString> iParams)
{
    return Print(MSG_KEY_zbzbError, iKey, iParams);
}

int zbReportWarning(const QORString& iKey, std::initializer_list<QORUnicodeString> iParams)
{
    return Print(MSG_KEY_zbzbWarning, iKey, iParams);
}

int zbReportFatal(const QORString& iKey, std::initializer_list<QORUnicodeString> iParams)
{
    return Print(MSG_KEY_zbzbFatal, iKey, iParams);
}
