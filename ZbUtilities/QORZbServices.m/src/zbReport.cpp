#include "zbReport.h"

#include <cerrno>
#include <cstdio>
#include <vector>

#include "zbContext.h"
#include "zbErrorCodeManager.h"
#include "zbMsgManager.h"
#include "zbTraceManager.h"

namespace
{
int Print(const zbKeyForTraceManager& iOuterKey, const QORString& iKey,
          std::initializer_list<QORUnicodeString> iParams)
{
    std::vector<QORUnicodeString> params(iParams);
    QORUnicodeString message = zbExtContext.GetMsgMngr()->GetMsg(
        iKey, params.empty() ? nullptr : params.data(), static_cast<int>(params.size()));
    zbExtContext.GetTraceMngr()->Print(iOuterKey, stderr, message);
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
    zbExtContext.GetTraceMngr()->Print(MSG_KEY_systError, stderr,
                                       QORUnicodeString(iObject ? iObject : ""),
                                       zbExtLastError.GetMsgError());
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
