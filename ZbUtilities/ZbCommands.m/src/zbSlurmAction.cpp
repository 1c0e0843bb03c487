#include "zbSlurmAction.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "zbDescriptor.h"
#include "zbOFStream.h"
#include "zbReport.h"
#include "zbSpawn.h"

QOR_IMPLEMENT_CLASS(zbSlurmAction, zbShellAction)

namespace
{
const char kSrun[] = "srun";
const char kSinfo[] = "sinfo";

std::vector<std::string> Words(const char* iText)
{
    std::vector<std::string> words;
    const char* p = iText ? iText : "";
    while (*p)
    {
        while (*p == ' ' || *p == '\t' || *p == '\n')
            ++p;
        const char* start = p;
        while (*p && *p != ' ' && *p != '\t' && *p != '\n')
            ++p;
        if (p > start)
            words.emplace_back(start, p);
    }
    return words;
}

std::string Joined(const std::vector<std::string>& iWords)
{
    std::string line;
    for (const std::string& word : iWords)
        line += (line.empty() ? "" : " ") + word;
    return line;
}

// The null-terminated argument vector of iLine (which must outlive it).
std::vector<const char*> Argv(const std::vector<std::string>& iLine)
{
    std::vector<const char*> argv;
    for (const std::string& word : iLine)
        argv.push_back(word.c_str());
    argv.push_back(nullptr);
    return argv;
}

int ReportUnreachable(const std::string& iWhy)
{
    return zbReportMessage("zbSlurmAction.Unreachable", {QORUnicodeString(iWhy.c_str())});
}
} // namespace

zbSlurmAction::zbSlurmAction()
{
    if (const char* partition = std::getenv("ZBZB_SLURM_PARTITION"))
        _Partition = partition;
    _Extra = Words(std::getenv("ZBZB_SLURM_ARGS"));
}

zbSlurmAction::~zbSlurmAction() = default;

void zbSlurmAction::SetPartition(const char* iPartition)
{
    _Partition = iPartition ? iPartition : "";
}

void zbSlurmAction::SetTimeLimit(const char* iTimeLimit)
{
    _TimeLimit = iTimeLimit ? iTimeLimit : "";
}

void zbSlurmAction::SetAllocation(const char* iJobId)
{
    _Allocation = iJobId ? iJobId : "";
}

void zbSlurmAction::SetExtraArguments(const char* iWords)
{
    _Extra = Words(iWords);
}

std::vector<std::string> zbSlurmAction::GetSrunLine() const
{
    // One task on one node; -Q -Q leaves only srun's fatal errors, so that
    // the captured text is the job's own.
    std::vector<std::string> line{kSrun, "-Q", "-Q", "--nodes=1", "--ntasks=1"};
    if (!_Allocation.empty())
        line.insert(line.end(), {"--jobid=" + _Allocation, "--exact", "--overcommit"});
    else if (!_Partition.empty())
        line.push_back("--partition=" + _Partition);
    if (!_TimeLimit.empty())
        line.push_back("--time=" + _TimeLimit);
    line.insert(line.end(), _Extra.begin(), _Extra.end());
    const char* command = GetDescription();
    line.insert(line.end(), {"/bin/sh", "-c", "--", command ? command : ""});
    return line;
}

int zbSlurmAction::Start(int& ProcessHandle, int Verbose)
{
    ProcessHandle = 0;
    std::vector<std::string> line = GetSrunLine();
    if (Verbose)
        zbStdout.Print("+ %s\n", Joined(line).c_str());
    return SpawnCaptured(kSrun, Argv(line).data(), ProcessHandle);
}

int zbSlurmAction::SpawnFailed(const char* iProgram, int iErrno)
{
    return ReportUnreachable(std::string(iProgram) + ": " + std::strerror(iErrno));
}

int zbSlurmAction::CheckCluster(const std::string& iPartition, int iSeconds)
{
    std::string srun;
    if (!zbFindProgram(kSrun, srun))
        return ReportUnreachable(std::string(kSrun) + ": " + std::strerror(ENOENT));
    // A configuration named but missing (or an empty name) would leave
    // sinfo searching for one.
    const char* conf = std::getenv("SLURM_CONF");
    if (conf && (!*conf || ::access(conf, R_OK) != 0))
        return ReportUnreachable(std::string("SLURM_CONF ") + conf + ": " +
                                 std::strerror(*conf ? errno : ENOENT));
    std::vector<std::string> line{kSinfo, "-h", "-o", "%P"};
    if (!iPartition.empty())
        line.insert(line.end(), {"-p", iPartition});
    std::vector<const char*> argv = Argv(line);
    zbSpawnRequest request;
    request._Program = kSinfo;
    request._Argv = argv.data();
    zbScopedFd null(zbOpenFd("/dev/null", O_WRONLY));
    request._Stderr = null.Get();
    std::string answer;
    int status = 0;
    int rc = zbRunCaptured(request, iSeconds * 1000L, answer, status);
    if (rc == ETIMEDOUT)
        return ReportUnreachable("no answer from the controller within " +
                                 std::to_string(iSeconds) + " s");
    if (rc)
        return ReportUnreachable(std::string(kSinfo) + ": " + std::strerror(rc));
    if (status != 0)
        return ReportUnreachable("the controller did not answer sinfo");
    if (Words(answer.c_str()).empty())
        return ReportUnreachable(iPartition.empty() ? std::string("no partition")
                                                    : "no partition " + iPartition);
    return 0;
}
