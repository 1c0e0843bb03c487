#include "zbMultiProcessing.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <vector>

#include "zbContext.h"
#include "zbJobserver.h"
#include "zbMonoProcessing.h"
#include "zbProcess.h"
#include "zbReport.h"
#include "zbRunMonitor.h"
#include "zbSpawn.h"
#include "zbTraceManager.h"

namespace
{
// The one upper bound of a wait while every slot is busy.
const long kWaitNanoseconds = 40L * 1000 * 1000;
// How long children given another signal have to end before SIGTERM.
const long kEscalateNanoseconds = 100L * 1000 * 1000;
const long kPollNanoseconds = 10L * 1000 * 1000;
// How much of a command line a failure report quotes.
const size_t kQuotedLength = 60;

// Written by the handler only; read by the runner after its wait.
volatile sig_atomic_t sInterrupt = 0;

extern "C" void RecordSignal(int iSignal)
{
    if (iSignal != SIGCHLD && !sInterrupt)
        sInterrupt = iSignal;
}

// While it lives, SIGINT, SIGTERM, SIGHUP and SIGCHLD are blocked except inside
// Wait, and their handler only records which one came: the runner decides
// what to do in its own code.  The previous handlers and mask come back at
// the end.
class SignalWindow
{
  public:
    SignalWindow()
    {
        sInterrupt = 0;
        sigset_t blocked;
        sigemptyset(&blocked);
        for (int i = 0; i < kCount; ++i)
            sigaddset(&blocked, kSignals[i]);
        ::sigprocmask(SIG_BLOCK, &blocked, &_SavedMask);
        _WaitMask = _SavedMask;
        struct sigaction record = {};
        record.sa_handler = RecordSignal;
        record.sa_flags = SA_NOCLDSTOP;
        sigemptyset(&record.sa_mask);
        for (int i = 0; i < kCount; ++i)
        {
            sigdelset(&_WaitMask, kSignals[i]);
            ::sigaction(kSignals[i], &record, &_Saved[i]);
        }
        zbSpawnSetChildMask(&_SavedMask);
    }
    ~SignalWindow()
    {
        // Handlers first: a signal still pending then meets the handler
        // that was there before the run.
        for (int i = 0; i < kCount; ++i)
            ::sigaction(kSignals[i], &_Saved[i], nullptr);
        ::sigprocmask(SIG_SETMASK, &_SavedMask, nullptr);
        zbSpawnSetChildMask(nullptr);
    }
    SignalWindow(const SignalWindow&) = delete;
    SignalWindow& operator=(const SignalWindow&) = delete;

    // Sleeps until a child ends, a signal comes, iFd (when not -1) can be
    // read or the time is over.
    void Wait(long iNanoseconds, int iFd = -1) const
    {
        struct timespec bound = {iNanoseconds / 1000000000L, iNanoseconds % 1000000000L};
        struct pollfd watched = {iFd, POLLIN, 0};
        ::ppoll(&watched, iFd < 0 ? 0 : 1, &bound, &_WaitMask);
    }
    int Interrupted() const { return sInterrupt; }

  private:
    static constexpr int kCount = 4;
    static constexpr int kSignals[kCount] = {SIGINT, SIGTERM, SIGHUP, SIGCHLD};
    sigset_t _SavedMask;
    sigset_t _WaitMask;
    struct sigaction _Saved[kCount];
};

constexpr int SignalWindow::kSignals[];

// The first line of a command, cut to kQuotedLength characters.
QORUnicodeString Quoted(const char* iText)
{
    std::string text = iText ? iText : "";
    size_t end = std::min(text.find('\n'), kQuotedLength);
    if (end < text.size())
        text = text.substr(0, end) + "...";
    return QORUnicodeString(text.c_str());
}

class Runner
{
  public:
    Runner(const QORListPtrzbActionIntf& iActions, unsigned int iJobs,
           const zbMultiProcessingOptions& iOptions)
        : _Actions(iActions), _Options(iOptions)
    {
        // A slot beyond the number of actions would never be used.
        unsigned int count = iJobs < static_cast<unsigned int>(iActions.Size())
                                 ? iJobs
                                 : static_cast<unsigned int>(iActions.Size());
        for (unsigned int i = 0; i < (count ? count : 1); ++i)
            _Slots.emplace_back(new zbProcess());
        _Used.assign(_Slots.size(), 0);
        _Position.assign(_Slots.size(), 0);
        _Counts._Total = iActions.Size();
        // Tokens are needed for a second child; a server for the children
        // of a run that may run several things at once.
        if (_Options._Jobserver != zbMultiProcessingOptions::JobserverOff &&
            (_Slots.size() > 1 || iJobs > 1))
        {
            int joined = _Slots.size() > 1 ? _Jobserver.Join() : 0;
            if (!joined && iJobs > 1 &&
                _Options._Jobserver == zbMultiProcessingOptions::JobserverJoinOrServe)
                _Jobserver.Serve(zbExtContext.GetTempPath(), iJobs);
        }
    }

    int Run()
    {
        for (int next = 1; next <= _Actions.Size() && !_Stopped; ++next)
        {
            size_t slot = FreeSlot();
            if (_Used[slot])
                Finish(slot);
            if (_Stopped)
                break;
            if (_Options._SeparateStderr)
                _Slots[slot]->SetTempIO(zbExtContext.GetTempPath(), "zbOut", "zbErr");
            else
                _Slots[slot]->SetTempIO(zbExtContext.GetTempPath(), "zbOutErr");
            zbActionIntf* action = _Actions[next];
            if (action)
                action->SetOwnProcessGroup(1);
            // A failed start leaves its code as the slot's status, counted
            // when the slot is finished.
            _Slots[slot]->Create(action, zbExtContext._Verbose);
            _Used[slot] = 1;
            _Position[slot] = next;
            ++_Counts._Running;
            Tell();
            CheckInterrupt();
        }
        for (size_t slot = 0; slot < _Slots.size(); ++slot)
        {
            if (!_Used[slot])
                continue;
            int status = 0;
            while (_Slots[slot]->StillActive(status, WNOHANG))
            {
                Balance();
                _Window.Wait(kWaitNanoseconds);
                CheckInterrupt();
            }
            Balance();
            Finish(slot);
            _Slots[slot]->ResetTempIO();
        }
        // A signal recorded during the last wait is handled as any other.
        _Window.Wait(0);
        CheckInterrupt();
        _Jobserver.Close();
        return _Counts._Failed;
    }

  private:
    // The first slot whose child is not running, waiting while all are,
    // or while a further child has no token yet.
    size_t FreeSlot()
    {
        for (;;)
        {
            size_t free = _Slots.size();
            for (size_t slot = 0; slot < _Slots.size(); ++slot)
            {
                int status = 0;
                if (!_Slots[slot]->StillActive(status, WNOHANG) && free == _Slots.size())
                    free = slot;
            }
            Balance();
            if (free < _Slots.size() &&
                (!_Jobserver.IsActive() || Active() <= _Jobserver.Held() || _Jobserver.Take()))
                return free;
            _Window.Wait(kWaitNanoseconds, free < _Slots.size() ? _Jobserver.ReadFd() : -1);
            CheckInterrupt();
        }
    }

    int Active() const
    {
        int active = 0;
        for (const auto& slot : _Slots)
            active += slot->IsActive();
        return active;
    }

    // Gives back the tokens the running children no longer need: the first
    // one runs in the implicit slot.
    void Balance()
    {
        const int needed = std::max(0, Active() - 1);
        while (_Jobserver.Held() > needed)
            _Jobserver.Give();
    }

    // Prints the slot's captured output and counts its action; a failure
    // is reported after the output when asked for.
    void Finish(size_t iSlot)
    {
        zbProcess& process = *_Slots[iSlot];
        if (_Options._Monitor)
            _Options._Monitor->BeforeOutput();
        if (_Options._ThroughTraceManager)
            process.FlushTempIO(_Options._ToConsole);
        else
            process.FlushTempIOToStream();
        _Used[iSlot] = 0;
        --_Counts._Running;
        ++_Counts._Finished;
        const int status = process.GetExitStatus();
        if (status != 0)
        {
            ++_Counts._Failed;
            _Stopped = _Options._StopAtFirstFailure;
            if (_Options._ReportFailures)
                ReportFailure(_Position[iSlot], status);
        }
        if (_Options._Monitor)
            _Options._Monitor->AfterOutput(LastPrinted(process, status));
        Tell();
    }

    void ReportFailure(int iPosition, int iStatus)
    {
        std::fflush(stdout);
        zbActionIntf* action = _Actions[iPosition];
        const char* text = action ? action->GetDescription() : nullptr;
        QORUnicodeString position(std::to_string(iPosition).c_str());
        QORUnicodeString status(std::to_string(iStatus).c_str());
        if (text && *text)
            zbReportMessage("zbMultiProcessing.ActionFailed", {position, status, Quoted(text)});
        else
            zbReportMessage("zbMultiProcessing.ActionFailedUnnamed", {position, status});
    }

    // The file printed last (a report being a whole line, none), for the
    // monitor to know whether the output ended its line.
    const char* LastPrinted(const zbProcess& iProcess, int iStatus) const
    {
        if (iStatus != 0 && _Options._ReportFailures)
            return nullptr;
        const char* err = iProcess.GetStderrTmpIO();
        struct stat info;
        if (err && err != iProcess.GetStdoutTmpIO() && ::stat(err, &info) == 0 && info.st_size > 0)
            return err;
        return iProcess.GetStdoutTmpIO();
    }

    void Tell()
    {
        if (_Options._Monitor)
            _Options._Monitor->Progress(_Counts);
    }

    void CheckInterrupt()
    {
        int signal = _Window.Interrupted();
        if (signal)
            EndInterrupted(signal);
    }

    // Sends iSignal to each running child's group (the child itself when
    // it leads no group).
    void SignalAll(int iSignal)
    {
        for (auto& slot : _Slots)
            if (slot->IsActive())
            {
                pid_t pid = static_cast<pid_t>(*slot->GetProcessHandle());
                if (::kill(-pid, iSignal) != 0)
                    ::kill(pid, iSignal);
            }
    }

    // Reaps what ended; true while a child runs after iNanoseconds.
    bool RunningAfter(long iNanoseconds)
    {
        for (long waited = 0;; waited += kPollNanoseconds)
        {
            bool running = false;
            for (auto& slot : _Slots)
            {
                int status = 0;
                running = slot->StillActive(status, WNOHANG) || running;
            }
            if (!running || waited >= iNanoseconds)
                return running;
            _Window.Wait(kPollNanoseconds);
        }
    }

    // Each running child's group gets the signal, then SIGTERM when it
    // was another one (srun cancels its step on SIGTERM; one SIGINT only
    // makes it print its state), then SIGKILL once the grace period is
    // over; every temporary file goes; the report and the trace's closing
    // lines are written; the process ends with the signal's number.
    [[noreturn]] void EndInterrupted(int iSignal)
    {
        SignalAll(iSignal);
        if (iSignal != SIGTERM && RunningAfter(kEscalateNanoseconds))
            SignalAll(SIGTERM);
        if (RunningAfter(_Options._StopGraceMs * 1000000L))
        {
            SignalAll(SIGKILL);
            RunningAfter(LONG_MAX);
        }
        _Jobserver.Close();
        for (auto& slot : _Slots)
            slot->ResetTempIO();
        if (_Options._Monitor)
            _Options._Monitor->BeforeOutput();
        std::fflush(stdout);
        zbReportFatal("zbzbFatal.Interrupt");
        zbExtContext.GetTraceMngr()->CloseXmlFile();
        std::fflush(stdout);
        std::fflush(stderr);
        std::exit(iSignal);
    }

    const QORListPtrzbActionIntf& _Actions;
    const zbMultiProcessingOptions& _Options;
    std::vector<std::unique_ptr<zbProcess>> _Slots;
    std::vector<char> _Used;
    std::vector<int> _Position; // of each slot's action in the list
    int _Stopped = 0;           // a failure ended the starts
    zbRunMonitor::Counts _Counts;
    SignalWindow _Window;
    zbJobserver _Jobserver;
};
} // namespace

int zbMultiProcessing(const QORListPtrzbActionIntf& Actions, const unsigned int Jobs)
{
    zbExtContext.TrapSignals();
    if (Jobs < 2 || Actions.Size() < 2)
        return zbMonoProcessing(Actions);
    zbMultiProcessingOptions streams;
    return zbMultiProcessing(Actions, Jobs, streams);
}

int zbMultiProcessing(const QORListPtrzbActionIntf& Actions, const unsigned int Jobs,
                      const zbMultiProcessingOptions& Options)
{
    zbExtContext.TrapSignals();
    if (Actions.Size() < 1)
        return 0;
    Runner runner(Actions, Jobs, Options);
    return runner.Run();
}
