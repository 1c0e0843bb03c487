#include "zbInternalError.h"

#include <cstdio>
#include <cstdlib>

#include "QORFatalError.h"
#include "QORStackTrace.h"
#include "zbContext.h"
#include "zbMsgManager.h"
#include "zbOFStream.h"
#include "zbTraceManager.h"

void zbInternalError(const char* iExpression, const char* iFile, int iLine, int iStatus)
{
    QORUnicodeString line;
    line.BuildFromNum(iLine, "%lld");
    QORUnicodeString message = zbExtContext.GetMsgMngr()->GetMsg(
        "zbzbFatal.InternalLine", QORUnicodeString(iExpression ? iExpression : "Assertion failed"),
        line, QORUnicodeString(iFile ? iFile : "<unknown>"));
    zbExtContext.GetTraceMngr()->Print(MSG_KEY_zbzbFatal, stderr, message);
    if (QORDevelopmentStage(0) == 0)
        std::exit(iStatus);
    zbContextualAbort(iStatus);
}

void zbContextualAbort(int iStatus)
{
    QORUnicodeString status;
    status.BuildFromNum(iStatus, "%lld");
    QORUnicodeString message = zbExtContext.GetMsgMngr()->GetMsg("zbzbFatal.Abort", status);
    zbExtContext.GetTraceMngr()->Print(MSG_KEY_zbzbFatal, stderr, message);
    QORBasicStackTrace trace;
    QORStackTrace::GetTrace(trace);
    trace.Print(stderr, 0, 0);
    std::fflush(stderr);
    std::fflush(stdout);
    std::exit(iStatus);
}

void zbContextualInterrupt(int iStatus)
{
    QORUnicodeString message = zbExtContext.GetMsgMngr()->GetMsg("zbzbFatal.Interrupt");
    zbExtContext.GetTraceMngr()->Print(MSG_KEY_zbzbFatal, stderr, message);
    std::fflush(stderr);
    std::fflush(stdout);
    std::exit(iStatus);
}

void zbDebugTrace(zbOFStream& oStream, const char* iFormat, ...)
{
    FILE* file = oStream.GetFile();
    if (!iFormat || !file)
        return;
    std::fflush(file);
    va_list args;
    va_start(args, iFormat);
    std::vfprintf(file, iFormat, args);
    va_end(args);
    std::fflush(file);
}
