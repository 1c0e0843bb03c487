#include "zbSpawn.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "zbDescriptor.h"
#include "zbProcess.h"

extern char** environ;

namespace
{
// The mask a runner saved before blocking its signals, for its children.
sigset_t sChildMask;
bool sChildMaskSet = false;

// File actions and attributes of one spawn, released on every path.
class SpawnSetup
{
  public:
    SpawnSetup()
    {
        _ActionsReady = ::posix_spawn_file_actions_init(&_Actions) == 0;
        _AttrReady = ::posix_spawnattr_init(&_Attr) == 0;
    }
    ~SpawnSetup()
    {
        if (_ActionsReady)
            ::posix_spawn_file_actions_destroy(&_Actions);
        if (_AttrReady)
            ::posix_spawnattr_destroy(&_Attr);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    // 0, or the error number of the first step that failed.
    int Prepare(const zbSpawnRequest& iRequest)
    {
        if (!_ActionsReady || !_AttrReady)
            return ENOMEM;
        int rc = 0;
        auto step = [&rc](int iResult)
        {
            if (!rc)
                rc = iResult;
        };
        // A dup2 clears close-on-exec on the child's copy only; so does one
        // onto the same number.
        if (iRequest._Stdin >= 0)
            step(::posix_spawn_file_actions_adddup2(&_Actions, iRequest._Stdin, 0));
        else if (iRequest._OwnGroup)
            step(::posix_spawn_file_actions_addopen(&_Actions, 0, "/dev/null", O_RDONLY, 0));
        if (iRequest._Stdout >= 0)
            step(::posix_spawn_file_actions_adddup2(&_Actions, iRequest._Stdout, 1));
        if (iRequest._Stderr >= 0)
            step(::posix_spawn_file_actions_adddup2(&_Actions, iRequest._Stderr, 2));
        for (int i = 0; i < iRequest._KeepCount; ++i)
            step(::posix_spawn_file_actions_adddup2(&_Actions, iRequest._Keep[i],
                                                    iRequest._Keep[i]));
        if (iRequest._Directory && *iRequest._Directory)
            step(::posix_spawn_file_actions_addchdir_np(&_Actions, iRequest._Directory));
        sigset_t mask;
        if (sChildMaskSet)
            mask = sChildMask;
        else
            ::sigprocmask(SIG_SETMASK, nullptr, &mask);
        step(::posix_spawnattr_setsigmask(&_Attr, &mask));
        // A child that writes to a closed pipe ends as usual, whatever this
        // process does with SIGPIPE.
        sigset_t defaults;
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGPIPE);
        step(::posix_spawnattr_setsigdefault(&_Attr, &defaults));
        short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
        if (iRequest._OwnGroup)
        {
            flags |= POSIX_SPAWN_SETPGROUP;
            step(::posix_spawnattr_setpgroup(&_Attr, 0));
        }
        step(::posix_spawnattr_setflags(&_Attr, flags));
        return rc;
    }

    posix_spawn_file_actions_t _Actions;
    posix_spawnattr_t _Attr;

  private:
    bool _ActionsReady = false;
    bool _AttrReady = false;
};

long NowMs()
{
    struct timespec now;
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000L + now.tv_nsec / 1000000L;
}

// Reads what is there (the descriptor is non-blocking); false at the end.
bool Drain(int iFd, std::string& ioOutput)
{
    char buffer[4096];
    for (;;)
    {
        ssize_t got = ::read(iFd, buffer, sizeof buffer);
        if (got > 0)
            ioOutput.append(buffer, static_cast<size_t>(got));
        else if (got < 0 && errno == EINTR)
            continue;
        else
            return got < 0 && errno == EAGAIN;
    }
}
} // namespace

bool zbFindProgram(const char* iName, std::string& oPath)
{
    auto runnable = [](const char* iFile)
    {
        struct stat info;
        return ::stat(iFile, &info) == 0 && S_ISREG(info.st_mode) && ::access(iFile, X_OK) == 0;
    };
    if (std::strchr(iName, '/'))
    {
        oPath = iName;
        return runnable(iName);
    }
    const char* path = std::getenv("PATH");
    for (const char* dir = path ? path : "/bin:/usr/bin"; dir;)
    {
        const char* end = std::strchr(dir, ':');
        size_t length = end ? static_cast<size_t>(end - dir) : std::strlen(dir);
        oPath.assign(dir, length);
        oPath += oPath.empty() ? "" : "/";
        oPath += iName;
        if (runnable(oPath.c_str()))
            return true;
        dir = end ? end + 1 : nullptr;
    }
    return false;
}

void zbSpawnSetChildMask(const sigset_t* iMask)
{
    sChildMaskSet = iMask != nullptr;
    if (iMask)
        sChildMask = *iMask;
}

int zbSpawn(const zbSpawnRequest& iRequest, pid_t& oPid)
{
    oPid = 0;
    if (!iRequest._Program || !iRequest._Argv)
        return EINVAL;
    SpawnSetup setup;
    int rc = setup.Prepare(iRequest);
    if (!rc)
        rc = ::posix_spawnp(&oPid, iRequest._Program, &setup._Actions, &setup._Attr,
                            const_cast<char* const*>(iRequest._Argv),
                            iRequest._Environment ? iRequest._Environment : environ);
    return rc;
}

int zbRunCaptured(const zbSpawnRequest& iRequest, long iMilliseconds, std::string& oOutput,
                  int& oStatus)
{
    oOutput.clear();
    oStatus = -1;
    int fds[2];
    if (zbPipe(fds, O_NONBLOCK))
        return errno;
    zbScopedFd readEnd(fds[0]), writeEnd(fds[1]);
    zbSpawnRequest request = iRequest;
    request._Stdout = writeEnd.Get();
    request._OwnGroup = 1;
    pid_t pid = 0;
    int rc = zbSpawn(request, pid);
    writeEnd.Reset();
    if (rc)
        return rc;
    // The child's end is watched with the pipe, in one wait with a deadline.
    // Where pidfds are missing (an older kernel, or a checker that does not
    // know the call), its end is seen when the pipe closes, then by waitpid
    // asked every 10 ms until the deadline.
    zbScopedFd child(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)));
    const bool byPidfd = child.IsOpen();
    const long deadline = NowMs() + iMilliseconds;
    bool reading = true, ended = false, reaped = false;
    int status = 0;
    while (!rc && !ended)
    {
        long left = deadline - NowMs();
        if (left <= 0)
        {
            rc = ETIMEDOUT;
            break;
        }
        if (!byPidfd && !reading)
        {
            ended = reaped = ::waitpid(pid, &status, WNOHANG) == pid;
            left = left < 10 ? left : 10;
        }
        struct pollfd watched[2] = {{byPidfd ? child.Get() : -1, POLLIN, 0},
                                    {reading ? readEnd.Get() : -1, POLLIN, 0}};
        struct timespec bound = {left / 1000, (left % 1000) * 1000000L};
        if (!ended && ::ppoll(watched, 2, &bound, nullptr) < 0 && errno != EINTR)
            rc = errno;
        if (watched[1].revents)
            reading = Drain(readEnd.Get(), oOutput);
        ended = ended || watched[0].revents != 0;
    }
    if (rc)
        ::kill(-pid, SIGKILL);
    while (!reaped && ::waitpid(pid, &status, 0) < 0 && errno == EINTR)
        ;
    if (!rc)
    {
        Drain(readEnd.Get(), oOutput);
        oStatus = zbExitStatusOf(status);
    }
    return rc;
}
