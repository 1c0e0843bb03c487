// Probe program run as a child by the suites, for what ends a process:
// start-up with a chosen environment, internal errors, signals.
//
//   zbProbe load                      does nothing: the library's start-up runs
//   zbProbe close-stdout              closes zbStdout, then writes to stdout
//   zbProbe roots                     prints the build-time names, one per line
//   zbProbe internal EXPR FILE LINE STATUS   zbInternalError ("-" for null)
//   zbProbe trap [FILE]               TrapSignals, prints "ready" (and makes FILE),
//                                     waits for a signal
//   zbProbe abort                     TrapSignals, then abort()
//   zbProbe fatal                     the foundation's QORFatalError
//   zbProbe xml FILE HOW              opens the XML trace FILE, opens a complex
//                                     tag, then ends: HOW is return, internal
//                                     (zbInternalError "x<y", status 3) or
//                                     interrupt (TrapSignals, then SIGINT);
//                                     descriptor: TrapSignals, then FILE given
//                                     as a descriptor, then SIGINT
//   zbProbe tabarg INDEX WORDS...     zbTabArg of the words, prints entry INDEX
//   zbProbe pieces ID BYTES MS CODE   BYTES bytes on standard output and BYTES on
//                                     standard error, in alternate one-line
//                                     pieces of 1,024 bytes ("ID o|e N " filled
//                                     with a letter of ID), sleeps MS ms,
//                                     exits with CODE
//   zbProbe copy SOURCE TARGET        the argument-vector form of zbCopyFile

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

#include "zbDescriptor.h"
#include "QORFatalError.h"
#include "zbContext.h"
#include "zbFileOperations.h"
#include "zbInternalError.h"
#include "zbOFStream.h"
#include "zbTabArg.h"
#include "zbTraceManager.h"

namespace
{
int XmlTrace(const char* iFile, const char* iHow)
{
    static const std::map<std::string, std::vector<std::string>> macros = {
        {"KEY_TagID", {"T_Phase", "T_Fatal"}},
        {"KEY_TagID_T_Phase_Name", {"Phase"}},
        {"KEY_TagID_T_Phase_Type", {"Complex"}},
        {"KEY_TagID_T_Phase_ListOfParameter", {"Name"}},
        {"KEY_TagID_T_Fatal_Name", {"Fatal"}},
        {"KEY_TagID_T_Fatal_Type", {"Simple"}},
        {"KEY_TagID_T_Fatal_ListOfParameter", {"Text"}},
        {"KEY_MsgID", {"stepStart", "zbzbFatal"}},
        {"KEY_MsgID_stepStart_ListOfTagID", {"T_Phase"}},
        {"KEY_MsgID_stepStart_ListOfTagMode", {"1"}},
        {"KEY_MsgID_stepStart_ListOfTagMapping", {"0"}},
        {"KEY_MsgID_zbzbFatal_ListOfTagID", {"T_Fatal"}},
        {"KEY_MsgID_zbzbFatal_ListOfTagMode", {"0"}},
        {"KEY_MsgID_zbzbFatal_ListOfTagMapping", {"0"}},
    };
    zbTraceManager* manager = zbExtContext.GetTraceMngr();
    manager->LoadXmlKeys(
        [](const QORString& iName, QORListValQORString& oWords)
        {
            auto it = macros.find(iName.Std());
            if (it == macros.end())
                return 0;
            for (const std::string& word : it->second)
                oWords.Append(QORString(word));
            return 1;
        });
    if (!std::strcmp(iHow, "descriptor"))
    {
        zbExtContext.TrapSignals();
        const int fd = zbOpenFd(iFile, O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (!manager->SetXmlFileDescriptor(&fd, iFile))
            return 1;
        std::raise(SIGINT);
    }
    QORString name(iFile);
    if (!manager->SetXmlFileName(&name, "probe", 0))
        return 1;
    manager->Print(MSG_KEY_stepStart, stdout, QORUnicodeString("probe"));
    if (!std::strcmp(iHow, "internal"))
        zbInternalError("x<y", "f", 1, 3);
    if (!std::strcmp(iHow, "interrupt"))
    {
        zbExtContext.TrapSignals();
        std::raise(SIGINT);
    }
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    const char* what = argc > 1 ? argv[1] : "load";
    if (!std::strcmp(what, "load"))
        return 0;
    if (!std::strcmp(what, "close-stdout"))
    {
        zbStdout.Puts("before\n");
        zbStdout.Close();
        std::printf("after\n");
        return 0;
    }
    if (!std::strcmp(what, "roots"))
    {
        const QORListValQORString& roots = zbExtContext.OSRootBuildtime();
        for (int i = 1; i <= roots.Size(); ++i)
            std::printf("%s\n", roots[i].CastToCharPtr());
        return 0;
    }
    if (!std::strcmp(what, "internal") && argc > 5)
    {
        auto arg = [](const char* a) { return std::strcmp(a, "-") ? a : nullptr; };
        zbInternalError(arg(argv[2]), arg(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
    }
    if (!std::strcmp(what, "trap"))
    {
        zbExtContext.TrapSignals();
        std::printf("ready\n");
        std::fflush(stdout);
        if (argc > 2)
            ::close(zbOpenFd(argv[2], O_WRONLY | O_CREAT | O_TRUNC, 0644));
        for (int i = 0; i < 600; ++i)
            ::sleep(1);
        return 0;
    }
    if (!std::strcmp(what, "abort"))
    {
        zbExtContext.TrapSignals();
        std::abort();
    }
    if (!std::strcmp(what, "fatal"))
        QORFatalError("probe", "zbProbe", 1);
    if (!std::strcmp(what, "xml") && argc > 3)
        return XmlTrace(argv[2], argv[3]);
    if (!std::strcmp(what, "tabarg") && argc > 2)
    {
        zbTabArg args(1, 1);
        args.AddArray(static_cast<unsigned int>(argc), argv, 3);
        std::printf("%s\n", args[static_cast<unsigned int>(std::atoi(argv[2]))]);
        return 0;
    }
    if (!std::strcmp(what, "pieces") && argc > 5)
    {
        const std::string id = argv[2];
        const long bytes = std::atol(argv[3]);
        for (long index = 0, done = 0; done < bytes; ++index, done += 1024)
            for (int fd : {1, 2})
            {
                std::string piece = id + (fd == 1 ? " o " : " e ") + std::to_string(index) + " ";
                piece.resize(static_cast<size_t>(std::min(1024L, bytes - done) - 1),
                             static_cast<char>('a' + id.back() % 26));
                piece += '\n';
                if (::write(fd, piece.data(), piece.size()) != static_cast<ssize_t>(piece.size()))
                    return 3;
            }
        ::usleep(static_cast<useconds_t>(std::atoi(argv[4]) * 1000));
        return std::atoi(argv[5]);
    }
    if (!std::strcmp(what, "copy"))
        return zbCopyFile(what, argv + 2);
    std::fprintf(stderr, "zbProbe: unknown request %s\n", what);
    return 64;
}
