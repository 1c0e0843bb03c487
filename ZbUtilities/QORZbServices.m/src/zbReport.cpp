#include "zbReport.h"

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "zbContext.h"
#include "zbErrorCodeManager.h"
#include "zbMsgManager.h"
#include "zbTraceManager.h"

namespace
{
// Without an XML trace, the console line of a report whose parameters are
// plain ASCII is put together from the composition the message manager
// keeps (the same text as below, without building and converting it);
// false when the report takes the general way.
bool PrintComposed(const zbKeyForTraceManager& iOuterKey, const QORString* iKey,
                   const QORUnicodeString* iParams, int iCount)
{
    if (zbExtContext.GetTraceMngr()->GetXmlFd() >= 0)
        return false;
    std::string line;
    if (!zbExtContext.GetMsgMngr()->ComposeAscii(iOuterKey, iKey, iParams, iCount, line))
        return false;
    if (!line.empty())
    {
        // One write through the stream, so that a tool that gives standard
        // error a stream of its own sees every report.
        line += '\n';
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::fflush(stderr);
    }
    return true;
}

int Print(const zbKeyForTraceManager& iOuterKey, const QORString& iKey,
          std::initializer_list<QORUnicodeString> iParams)
{
    if (PrintComposed(iOuterKey, &iKey, iParams.begin(), static_cast<int>(iParams.size())))
        return 1;
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
    const QORUnicodeString params[2] = {QORUnicodeString(iObject ? iObject : ""),
                                        zbExtLastError.GetMsgError()};
    if (PrintComposed(MSG_KEY_systError, nullptr, params, 2))
        return 1;
    zbExtContext.GetTraceMngr()->Print(MSG_KEY_systError, stderr, params[0], params[1]);
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
