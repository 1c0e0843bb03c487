#include "zbInternalError.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "QORFatalError.h"
#include "QORStackTrace.h"
#include "zbContext.h"
#include "zbMsgManager.h"
#include "zbTraceManager.h"

// The signal handlers end the process from wherever it was interrupted,
// maybe inside malloc or stdio: they only write texts prepared when the
// signals were trapped (zbTraceManager::WriteSignalReport), the stack trace
// of an abort through the foundation's signal-safe printer (readied at the
// same moment), and end with _exit.

namespace
{
const int kTrapped[] = {SIGABRT, SIGINT, SIGTERM};

enum Kind
{
    None,
    Abort,
    Interrupt
};

// The kind of report prepared for each status (signal number).
Kind sPrepared[65] = {};

void PrepareReport(int iStatus, Kind iKind)
{
    if (iStatus <= 0 || iStatus >= 65)
        return;
    QORUnicodeString message;
    if (iKind == Abort)
    {
        QORUnicodeString status;
        status.BuildFromNum(iStatus, "%lld");
        message = zbExtContext.GetMsgMngr()->GetMsg("zbzbFatal.Abort", status);
    }
    else
        message = zbExtContext.GetMsgMngr()->GetMsg("zbzbFatal.Interrupt");
    zbExtContext.GetTraceMngr()->PrepareSignalReport(iStatus, MSG_KEY_zbzbFatal, message);
    sPrepared[iStatus] = iKind;
}

// The status a fatal end exits with: never one that reads as success (0,
// or a multiple of 256, of which an exit status keeps only the low byte).
int FailureStatus(int iStatus)
{
    return (iStatus & 0xFF) ? iStatus : 1;
}

// The end of the process on a trapped signal (or a direct call): the
// prepared report, the stack trace of an abort, _exit.
[[noreturn]] void EndProcess(int iStatus, Kind iKind)
{
    // From here on a second signal, or an abort, ends the process at once.
    struct sigaction fallback;
    std::memset(&fallback, 0, sizeof fallback);
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigset_t trapped;
    sigemptyset(&trapped);
    for (int sig : kTrapped)
    {
        ::sigaction(sig, &fallback, nullptr);
        sigaddset(&trapped, sig);
    }
    ::sigprocmask(SIG_UNBLOCK, &trapped, nullptr);

    // A direct call, outside any handler, may build what it lacks.
    if (iStatus <= 0 || iStatus >= 65 || sPrepared[iStatus] != iKind)
        PrepareReport(iStatus, iKind);
    if (iKind == Abort && !QORStackTrace::IsPrepared())
        QORStackTrace::Prepare();
    zbTraceManager::WriteSignalReport(iStatus);
    if (iKind == Abort)
        QORStackTrace::WriteCurrent(2, 0);
    ::_exit(FailureStatus(iStatus));
}
} // namespace

void zbInternalError(const char* iExpression, const char* iFile, int iLine, int iStatus)
{
    QORUnicodeString params[3] = {iExpression ? iExpression : "Assertion failed", "",
                                  iFile ? iFile : "<unknown>"};
    params[1].BuildFromNum(iLine, "%lld");
    zbExtContext.GetTraceMngr()->PrintMessage(MSG_KEY_zbzbFatal, stderr, "zbzbFatal.InternalLine",
                                              params, 3);
    if (QORDevelopmentStage(0) == 0)
        std::exit(FailureStatus(iStatus));
    zbContextualAbort(iStatus);
}

void zbTrapFatalSignals()
{
    PrepareReport(SIGABRT, Abort);
    PrepareReport(SIGINT, Interrupt);
    PrepareReport(SIGTERM, Interrupt);
    QORStackTrace::Prepare();
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    sigemptyset(&action.sa_mask);
    // SA_RESETHAND: the handler is never entered twice.
    action.sa_flags = SA_RESETHAND;
    action.sa_handler = zbContextualAbort;
    ::sigaction(SIGABRT, &action, nullptr);
    action.sa_handler = zbContextualInterrupt;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

void zbContextualAbort(int iStatus)
{
    EndProcess(iStatus, Abort);
}

void zbContextualInterrupt(int iStatus)
{
    EndProcess(iStatus, Interrupt);
}
