#include "zbSlurmAllocation.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "zbDescriptor.h"
#include "zbReport.h"
#include "zbSpawn.h"

namespace
{
const char kSalloc[] = "salloc";
// Prints the job id, then holds the allocation until its input ends.
const char kHolder[] = "echo \"$SLURM_JOB_ID\"; read -r line";

int ReportUnreachable(const std::string& iWhy)
{
    return zbReportMessage("zbSlurmAction.Unreachable", {QORUnicodeString(iWhy.c_str())});
}
} // namespace

int zbSlurmAllocation::Acquire(const std::string& iPartition, int iTasks,
                               const std::vector<std::string>& iExtra)
{
    Release();
    std::vector<std::string> line{kSalloc, "-Q", "-O", "-n", std::to_string(iTasks)};
    if (!iPartition.empty())
        line.push_back("--partition=" + iPartition);
    line.insert(line.end(), iExtra.begin(), iExtra.end());
    line.insert(line.end(), {"/bin/sh", "-c", kHolder});
    std::vector<const char*> argv;
    for (const std::string& word : line)
        argv.push_back(word.c_str());
    argv.push_back(nullptr);

    int input[2], output[2];
    if (zbPipe(input) || zbPipe(output))
        return zbReportSystemError("pipe", errno);
    zbScopedFd inRead(input[0]), inWrite(input[1]), outRead(output[0]), outWrite(output[1]);
    zbSpawnRequest request;
    request._Program = kSalloc;
    request._Argv = argv.data();
    request._Stdin = inRead.Get();
    request._Stdout = outWrite.Get();
    request._OwnGroup = 1;
    if (int rc = zbSpawn(request, _Salloc))
        return ReportUnreachable(std::string(kSalloc) + ": " + std::strerror(rc));
    inRead.Close();
    outWrite.Close();
    _Hold = inWrite.Release();

    // The first line is the job id; the end of the pipe before it, a
    // refusal (salloc has said why).
    std::string answer;
    char c;
    ssize_t got;
    while ((got = ::read(outRead.Get(), &c, 1)) == 1 || (got < 0 && errno == EINTR))
        if (got == 1 && c != '\n')
            answer += c;
        else if (got == 1)
            break;
    if (answer.empty() || answer.find_first_not_of("0123456789") != std::string::npos)
    {
        Release();
        return ReportUnreachable("no allocation granted by salloc");
    }
    _JobId = answer;
    return 0;
}

void zbSlurmAllocation::Release()
{
    if (_Hold >= 0)
        ::close(_Hold);
    _Hold = -1;
    if (_Salloc > 0)
    {
        int status = 0;
        while (::waitpid(_Salloc, &status, 0) < 0 && errno == EINTR)
            ;
    }
    _Salloc = 0;
    _JobId.clear();
}
