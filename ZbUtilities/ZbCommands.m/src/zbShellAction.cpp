#include "zbShellAction.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "zbDescriptor.h"
#include "zbOFStream.h"
#include "zbReport.h"
#include "zbSpawn.h"

QOR_IMPLEMENT_CLASS(zbShellAction, zbActionIntf)

namespace
{
const char kShell[] = "/bin/sh";

// First words the shell keeps for itself: its reserved words, and its
// builtins, which act on the shell or behave otherwise than a program of
// the same name (echo's escapes, pwd's logical directory, kill's job
// numbers).  "true" and "false" run as the program when they stand alone.
struct ShellWord
{
    const char* _Word;
    bool _ProgramWhenAlone;
};
const ShellWord kShellWords[] = {
    {".", false},         {":", false},        {"alias", false},   {"bg", false},
    {"bind", false},      {"break", false},    {"builtin", false}, {"caller", false},
    {"case", false},      {"cd", false},       {"chdir", false},   {"command", false},
    {"compgen", false},   {"complete", false}, {"compopt", false}, {"continue", false},
    {"coproc", false},    {"declare", false},  {"dirs", false},    {"disown", false},
    {"do", false},        {"done", false},     {"echo", false},    {"elif", false},
    {"else", false},      {"enable", false},   {"esac", false},    {"eval", false},
    {"exec", false},      {"exit", false},     {"export", false},  {"false", true},
    {"fc", false},        {"fg", false},       {"fi", false},      {"for", false},
    {"function", false},  {"getopts", false},  {"hash", false},    {"help", false},
    {"history", false},   {"if", false},       {"in", false},      {"jobs", false},
    {"kill", false},      {"let", false},      {"local", false},   {"login", false},
    {"logout", false},    {"mapfile", false},  {"newgrp", false},  {"popd", false},
    {"printf", false},    {"pushd", false},    {"pwd", false},     {"read", false},
    {"readarray", false}, {"readonly", false}, {"return", false},  {"select", false},
    {"set", false},       {"shift", false},    {"shopt", false},   {"source", false},
    {"suspend", false},   {"test", false},     {"then", false},    {"time", false},
    {"times", false},     {"trap", false},     {"true", true},     {"type", false},
    {"typeset", false},   {"ulimit", false},   {"umask", false},   {"unalias", false},
    {"unset", false},     {"until", false},    {"wait", false},    {"while", false},
};

// A character that means nothing to the shell inside a word.  Anything
// else (quoting, expansion, redirection, pipes, lists, globbing, comments,
// a backslash, a newline, braces, a tilde, bytes beyond ASCII) leaves the
// command to the shell; "=" is plain past the first word only.
bool IsPlain(char iChar)
{
    return (iChar >= 'a' && iChar <= 'z') || (iChar >= 'A' && iChar <= 'Z') ||
           (iChar >= '0' && iChar <= '9') || (iChar && std::strchr("%+,-./:@_", iChar));
}

// Whether the shell would hand its child the environment unchanged and
// search PATH as posix_spawnp does: it sets PWD when PWD does not name the
// current directory, and searches a PATH of its own when there is none.
bool EnvironmentAsShellWould()
{
    const char* path = std::getenv("PATH");
    if (!path || !*path)
        return false;
    const char* pwd = std::getenv("PWD");
    struct stat named, current;
    return pwd && *pwd == '/' && ::stat(pwd, &named) == 0 && ::stat(".", &current) == 0 &&
           named.st_dev == current.st_dev && named.st_ino == current.st_ino;
}

// When the shell would only split iCommand on blanks and run the program
// its first word names, oWords gets the words (each ended by a null) and
// oArgv the null-terminated vector pointing into it; true then.
bool SplitPlain(const char* iCommand, std::string& oWords, std::vector<const char*>& oArgv)
{
    oWords.clear();
    std::vector<size_t> starts;
    for (const char* p = iCommand; *p;)
    {
        if (*p == ' ' || *p == '\t')
        {
            ++p;
            continue;
        }
        starts.push_back(oWords.size());
        for (; *p && *p != ' ' && *p != '\t'; ++p)
        {
            if (!IsPlain(*p) && (*p != '=' || starts.size() == 1))
                return false;
            oWords += *p;
        }
        oWords += '\0';
    }
    if (starts.empty())
        return false;
    for (const ShellWord& word : kShellWords)
        if (word._Word[0] == oWords[0] && !std::strcmp(oWords.c_str(), word._Word) &&
            !(word._ProgramWhenAlone && starts.size() == 1))
            return false;
    oArgv.clear();
    for (size_t start : starts)
        oArgv.push_back(oWords.c_str() + start);
    oArgv.push_back(nullptr);
    return true;
}

// A capture file of our own: never an existing file, never through a link.
int CreateCaptureFile(const std::string& iName, zbScopedFd& oFd)
{
    oFd.Reset(zbOpenFd(iName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600));
    return oFd.IsOpen() ? 0 : zbReportSystemError(iName.c_str(), errno);
}
} // namespace

zbShellAction::~zbShellAction() = default;

void zbShellAction::SetCommand(const char* iCommand)
{
    _Command.SetStaticPart(iCommand ? iCommand : "");
}

int zbShellAction::SetWorkingDirectory(const char* iDirectory)
{
    _Directory = iDirectory ? iDirectory : "";
    return 0;
}

const char* zbShellAction::GetStdoutFile() const
{
    return _StdoutFile.empty() ? nullptr : _StdoutFile.c_str();
}

const char* zbShellAction::GetStderrFile() const
{
    return _StderrFile.empty() ? nullptr : _StderrFile.c_str();
}

void zbShellAction::ResetOutputFiles()
{
    _StdoutFile.clear();
    _StderrFile.clear();
}

void zbShellAction::SetStdoutFile(const char* FileName)
{
    _StdoutFile = FileName ? FileName : "";
}

void zbShellAction::SetStderrFile(const char* FileName)
{
    _StderrFile = FileName ? FileName : "";
}

int zbShellAction::Start(int& ProcessHandle, int Verbose)
{
    ProcessHandle = 0;
    if (Verbose)
        zbStdout.Print("+ %s\n", static_cast<const char*>(_Command));
    // "--": a command that starts with "-" is not taken for an option.
    const char* shell[] = {"sh", "-c", "--", _Command, nullptr};
    // A plain command runs without the shell, which would do no more than
    // start it: one program started instead of two.
    std::string words;
    std::vector<const char*> argv;
    std::string program;
    if (_Directory.empty() && SplitPlain(_Command, words, argv) && EnvironmentAsShellWould() &&
        zbFindProgram(argv[0], program))
        return SpawnCaptured(program.c_str(), argv.data(), ProcessHandle, shell);
    return SpawnCaptured(kShell, shell, ProcessHandle);
}

int zbShellAction::SpawnCaptured(const char* iProgram, const char* const* iArgv, int& ProcessHandle,
                                 const char* const* iShellArgv)
{
    ProcessHandle = 0;
    zbScopedFd out, err;
    if (!_StdoutFile.empty() && CreateCaptureFile(_StdoutFile, out))
        return 1;
    if (!_StderrFile.empty() && _StderrFile != _StdoutFile && CreateCaptureFile(_StderrFile, err))
    {
        ::unlink(_StdoutFile.c_str()); // ours: created just now
        return 1;
    }
    zbSpawnRequest request;
    request._Program = iProgram;
    request._Argv = iArgv;
    request._Stdout = out.Get();
    request._Stderr = err.IsOpen() ? err.Get() : (_StderrFile.empty() ? -1 : out.Get());
    request._Directory = _Directory.c_str();
    request._OwnGroup = _OwnGroup;
    pid_t pid = 0;
    int rc = zbSpawn(request, pid);
    if (rc && iShellArgv)
    {
        // Not found, not executable, a script without "#!": the shell
        // says so, or runs it, as it would have.
        request._Program = kShell;
        request._Argv = iShellArgv;
        iProgram = kShell;
        rc = zbSpawn(request, pid);
    }
    if (rc)
        return SpawnFailed(iProgram, rc);
    ProcessHandle = static_cast<int>(pid);
    return 0;
}

int zbShellAction::SpawnFailed(const char* iProgram, int iErrno)
{
    return zbReportSystemError(iProgram, iErrno);
}
