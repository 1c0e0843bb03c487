#include "zbTestSupport.h"

#include "zbSpawn.h"

#include <fstream>
#include <sys/shm.h>
#include <time.h>

extern char** environ;

namespace zbtest
{
TempDir::TempDir()
{
    char pattern[] = "/tmp/zbtest.XXXXXX";
    char* made = ::mkdtemp(pattern);
    _Path = made ? made : "/tmp";
}

TempDir::~TempDir()
{
    // What a test made unreadable is removed too.
    const std::string command =
        "chmod -R u+rwx '" + _Path + "' 2>/dev/null; rm -rf '" + _Path + "'";
    if (_Path != "/tmp" && std::system(command.c_str()) != 0)
        std::fprintf(stderr, "could not remove %s\n", _Path.c_str());
}

std::string Entries(const std::string& iDir)
{
    return Run({"/bin/ls", "-A", iDir})._Out;
}

void MakeDirs(const std::string& iPath)
{
    for (size_t slash = iPath.find('/', 1); slash != std::string::npos;
         slash = iPath.find('/', slash + 1))
        ::mkdir(iPath.substr(0, slash).c_str(), 0755);
    ::mkdir(iPath.c_str(), 0755);
}

void WriteFile(const std::string& iPath, const std::string& iContent)
{
    const size_t slash = iPath.rfind('/');
    if (slash != std::string::npos && slash > 0)
        MakeDirs(iPath.substr(0, slash));
    std::ofstream out(iPath, std::ios::binary);
    out << iContent;
}

std::string ReadFile(const std::string& iPath)
{
    std::ifstream in(iPath, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

Capture::Capture(int iFd) : _Fd(iFd), _Saved(-1), _Active(false)
{
    char pattern[] = "/tmp/zbcapture.XXXXXX";
    int fd = ::mkstemp(pattern);
    if (fd < 0)
        return;
    _File = pattern;
    std::fflush(stdout);
    std::fflush(stderr);
    _Saved = ::dup(iFd);
    ::dup2(fd, iFd);
    ::close(fd);
    _Active = true;
}

Capture::~Capture()
{
    Stop();
    if (!_File.empty())
        ::unlink(_File.c_str());
}

std::string Capture::Stop()
{
    if (!_Active)
        return "";
    std::fflush(stdout);
    std::fflush(stderr);
    ::dup2(_Saved, _Fd);
    ::close(_Saved);
    _Active = false;
    return ReadFile(_File);
}

namespace
{
// Runs iArgv (see Run); iWhileRunning(pid) is called once the child is
// started.
ChildResult RunChild(const std::vector<std::string>& iArgv, const ChildEnvironment& iEnv,
                     const std::string& iStdin, const std::string& iWorkDir, bool iOwnGroup,
                     const std::function<long(pid_t)>& iWhileRunning, int iTimeoutMs)
{
    ChildResult result;
    // Output goes to files: no pipe can fill up while the child runs.
    TempDir io;
    std::string outFile = io / "out", errFile = io / "err", inFile = io / "in";
    WriteFile(inFile, iStdin);

    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
    {
        std::string entry = *e;
        std::string name = entry.substr(0, entry.find('='));
        bool drop = iEnv._Set.count(name) > 0;
        for (const std::string& unset : iEnv._Unset)
            drop = drop || unset == name;
        if (!drop)
            env.push_back(entry);
    }
    for (const auto& kv : iEnv._Set)
        env.push_back(kv.first + "=" + kv.second);

    // Started as the library starts its children.
    std::vector<const char*> argv;
    std::vector<char*> envp;
    for (const std::string& a : iArgv)
        argv.push_back(a.c_str());
    argv.push_back(nullptr);
    for (std::string& e : env)
        envp.push_back(&e[0]);
    envp.push_back(nullptr);
    int in = ::open(inFile.c_str(), O_RDONLY | O_CLOEXEC);
    int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    zbSpawnRequest request;
    request._Program = argv[0];
    request._Argv = argv.data();
    request._Environment = envp.data();
    request._Stdin = in, request._Stdout = out, request._Stderr = err;
    request._Directory = iWorkDir.c_str();
    request._OwnGroup = iOwnGroup;
    pid_t pid = 0;
    int rc = zbSpawn(request, pid);
    ::close(in), ::close(out), ::close(err);
    if (rc)
    {
        result._Exited = 1, result._Status = 127;
        result._Err = std::string("spawn: ") + std::strerror(rc);
        return result;
    }
    long waitedNs = iWhileRunning(pid) * 1000000L;
    // Polled, the pause growing from 1 ms to 20 ms: a quick child costs
    // little, a hung one is killed once its time is over.
    int status = 0;
    long pauseNs = 1000000L;
    for (;;)
    {
        pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid || (done < 0 && errno != EINTR))
            break;
        if (done == 0 && iTimeoutMs > 0 && waitedNs >= iTimeoutMs * 1000000L)
        {
            ::kill(pid, SIGKILL);
            result._TimedOut = 1;
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR)
                ;
            break;
        }
        struct timespec pause = {0, pauseNs};
        ::nanosleep(&pause, nullptr);
        waitedNs += pauseNs;
        pauseNs = pauseNs * 2 > 20000000L ? 20000000L : pauseNs * 2;
    }
    if (WIFEXITED(status))
        result._Exited = 1, result._Status = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result._Signal = WTERMSIG(status);
    result._Out = ReadFile(outFile);
    result._Err = ReadFile(errFile);
    return result;
}
} // namespace

ChildResult Run(const std::vector<std::string>& iArgv, const ChildEnvironment& iEnv,
                const std::string& iStdin, const std::string& iWorkDir, int iKillAfterMs,
                int iSignal, int iTimeoutMs)
{
    auto killLater = [iKillAfterMs, iSignal](pid_t iPid) -> long
    {
        if (iKillAfterMs > 0)
        {
            struct timespec delay = {iKillAfterMs / 1000, (iKillAfterMs % 1000) * 1000000L};
            ::nanosleep(&delay, nullptr);
            ::kill(iPid, iSignal);
        }
        return iKillAfterMs;
    };
    return RunChild(iArgv, iEnv, iStdin, iWorkDir, false, killLater, iTimeoutMs);
}

ChildResult RunSignalledWhenReady(const std::vector<std::string>& iArgv,
                                  const ChildEnvironment& iEnv, const std::function<bool()>& iReady,
                                  int iSignal, bool iToGroup, int iTimeoutMs)
{
    auto signalWhenReady = [&](pid_t iPid) -> long
    {
        long waitedMs = 0;
        for (; waitedMs < iTimeoutMs && !iReady(); ++waitedMs)
        {
            siginfo_t info = {};
            if (::waitid(P_PID, static_cast<id_t>(iPid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
                info.si_pid == iPid)
                return waitedMs; // ended before it was ready: nothing to signal
            ::usleep(1000);
        }
        ::kill(iToGroup ? -iPid : iPid, iSignal);
        return waitedMs;
    };
    return RunChild(iArgv, iEnv, "", "", true, signalWhenReady, iTimeoutMs);
}

std::string Outcome(const ChildResult& iResult)
{
    std::string status = iResult._TimedOut ? "timed out"
                         : iResult._Exited ? std::to_string(iResult._Status)
                                           : "signal " + std::to_string(iResult._Signal);
    return status + "|" + iResult._Out + "|" + iResult._Err;
}

ChildResult Zbsvc(const std::vector<std::string>& iArgs, const ChildEnvironment& iEnv,
                  const std::string& iStdin)
{
    std::vector<std::string> argv{Program("zbsvc")};
    argv.insert(argv.end(), iArgs.begin(), iArgs.end());
    return Run(argv, iEnv, iStdin);
}

ScopedEnv::ScopedEnv(const char* iName, const char* iValue) : _Name(iName)
{
    if (const char* old = std::getenv(iName))
        _Old = old, _Had = true;
    if (iValue)
        ::setenv(iName, iValue, 1);
    else
        ::unsetenv(iName);
}

ScopedEnv::~ScopedEnv()
{
    if (_Had)
        ::setenv(_Name.c_str(), _Old.c_str(), 1);
    else
        ::unsetenv(_Name.c_str());
}

int SegmentsCreatedBy(int iCreator)
{
    struct shm_info info;
    const int highest = ::shmctl(0, SHM_INFO, reinterpret_cast<struct shmid_ds*>(&info));
    int count = 0;
    for (int index = 0; index <= highest; ++index)
    {
        struct shmid_ds status;
        if (::shmctl(index, SHM_STAT, &status) >= 0 && status.shm_cpid == iCreator)
            ++count;
    }
    return count;
}

std::string LocalSlurmConf()
{
    const char* given = std::getenv("SLURM_CONF");
    std::string conf = given && *given ? given : "/tmp/zbzb-slurm-local/etc/slurm.conf";
    struct stat info;
    if (::stat(conf.c_str(), &info) != 0)
        return "";
    ChildEnvironment env;
    env._Set["SLURM_CONF"] = conf;
    ChildResult r = Run(
        {"/bin/sh", "-c", "timeout 10 sinfo -h -o %t 2>/dev/null | grep -Eq '^(idle|mix|alloc)$'"},
        env);
    return r._Status == 0 ? conf : "";
}

std::string Program(const std::string& iName)
{
    return std::string(ZB_BINARY_DIR) + "/bin/" + iName;
}

std::string SourcePath(const std::string& iRelative)
{
    return std::string(ZB_SOURCE_DIR) + "/" + iRelative;
}
} // namespace zbtest
