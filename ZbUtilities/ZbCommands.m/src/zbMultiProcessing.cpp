#include "zbMultiProcessing.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <poll.h>
#include <sys/wait.h>
#include <vector>

#include "zbContext.h"
#include "zbMonoProcessing.h"
#include "zbProcess.h"
#include "zbReport.h"
#include "zbRunMonitor.h"
#include "zbTraceManager.h"

namespace
{
// The one upper bound of a wait while every slot is busy.
const long kWaitNanoseconds = 40L * 1000 * 1000;
// How long interrupted children are given to end before SIGKILL.
const int kGraceMilliseconds = 500;

// Written by the handler only; read by the runner after its wait.
volatile sig_atomic_t sInterrupt = 0;

extern "C" void RecordSignal(int iSignal)
{
    if (iSignal != SIGCHLD && !sInterrupt)
        sInterrupt = iSignal;
}

// While it lives, SIGINT, SIGTERM and SIGCHLD are blocked except inside
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
    }
    ~SignalWindow()
    {
        // Handlers first: a signal still pending then meets the handler
        // that was there before the run.
        for (int i = 0; i < kCount; ++i)
            ::sigaction(kSignals[i], &_Saved[i], nullptr);
        ::sigprocmask(SIG_SETMASK, &_SavedMask, nullptr);
    }
    SignalWindow(const SignalWindow&) = delete;
    SignalWindow& operator=(const SignalWindow&) = delete;

    // Sleeps until a child ends, a signal comes or the time is over.
    void Wait(long iNanoseconds) const
    {
        struct timespec bound = {iNanoseconds / 1000000000L, iNanoseconds % 1000000000L};
        ::ppoll(nullptr, 0, &bound, &_WaitMask);
    }
    int Interrupted() const { return sInterrupt; }

  private:
    static constexpr int kCount = 3;
    static constexpr int kSignals[kCount] = {SIGINT, SIGTERM, SIGCHLD};
    sigset_t _SavedMask;
    sigset_t _WaitMask;
    struct sigaction _Saved[kCount];
};

constexpr int SignalWindow::kSignals[];

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
        _Counts._Total = iActions.Size();
    }

    int Run()
    {
        for (int next = 1; next <= _Actions.Size(); ++next)
        {
            size_t slot = FreeSlot();
            if (_Used[slot])
                Finish(slot);
            _Slots[slot]->SetTempIO(zbExtContext.GetTempPath(), "zbOutErr");
            zbActionIntf* action = _Actions[next];
            if (action)
                action->SetOwnProcessGroup(1);
            // A failed start leaves its code as the slot's status, counted
            // when the slot is finished.
            _Slots[slot]->Create(action, zbExtContext._Verbose);
            _Used[slot] = 1;
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
                _Window.Wait(kWaitNanoseconds);
                CheckInterrupt();
            }
            Finish(slot);
            _Slots[slot]->ResetTempIO();
        }
        // A signal recorded during the last wait is handled as any other.
        _Window.Wait(0);
        CheckInterrupt();
        return _Counts._Failed;
    }

  private:
    // The first slot whose child is not running, waiting while all are.
    size_t FreeSlot()
    {
        for (;;)
        {
            for (size_t slot = 0; slot < _Slots.size(); ++slot)
            {
                int status = 0;
                if (!_Slots[slot]->StillActive(status, WNOHANG))
                    return slot;
            }
            _Window.Wait(kWaitNanoseconds);
            CheckInterrupt();
        }
    }

    // Prints the slot's captured output and counts its action.
    void Finish(size_t iSlot)
    {
        zbProcess& process = *_Slots[iSlot];
        if (_Options._Monitor)
            _Options._Monitor->BeforeOutput();
        if (_Options._ThroughTraceManager)
            process.FlushTempIO(_Options._ToConsole);
        else
            process.FlushTempIOToStream();
        if (_Options._Monitor)
            _Options._Monitor->AfterOutput(process.GetStdoutTmpIO());
        _Used[iSlot] = 0;
        --_Counts._Running;
        ++_Counts._Finished;
        if (process.GetExitStatus() != 0)
            ++_Counts._Failed;
        Tell();
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

    // Each running child's group gets the signal (the child itself when it
    // leads no group), then SIGKILL after a grace period; every temporary
    // file goes; the report and the trace's closing lines are written; the
    // process ends with the signal's number.
    [[noreturn]] void EndInterrupted(int iSignal)
    {
        auto signalAll = [this](int iWhich)
        {
            for (auto& slot : _Slots)
                if (slot->IsActive())
                {
                    pid_t pid = static_cast<pid_t>(*slot->GetProcessHandle());
                    if (::kill(-pid, iWhich) != 0)
                        ::kill(pid, iWhich);
                }
        };
        auto anyRunning = [this]()
        {
            bool running = false;
            for (auto& slot : _Slots)
            {
                int status = 0;
                if (slot->StillActive(status, WNOHANG))
                    running = true;
            }
            return running;
        };
        signalAll(iSignal);
        for (int waited = 0; anyRunning() && waited < kGraceMilliseconds; waited += 10)
            _Window.Wait(10L * 1000 * 1000);
        if (anyRunning())
        {
            signalAll(SIGKILL);
            while (anyRunning())
                _Window.Wait(10L * 1000 * 1000);
        }
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
    zbRunMonitor::Counts _Counts;
    SignalWindow _Window;
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
