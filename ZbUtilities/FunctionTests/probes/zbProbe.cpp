// Probe program run as a child by the suites, for what ends a process:
// start-up with a chosen environment, internal errors, signals.
//
//   zbProbe load                      does nothing: the library's start-up runs
//   zbProbe dump                      prints the context's dump
//   zbProbe close-stdout              closes zbStdout, then writes to stdout
//   zbProbe roots                     prints the build-time names, one per line
//   zbProbe internal EXPR FILE LINE STATUS   zbInternalError ("-" for null)
//   zbProbe trap                      TrapSignals, prints "ready", waits for a signal
//   zbProbe abort                     TrapSignals, then abort()

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "zbContext.h"
#include "zbInternalError.h"
#include "zbOFStream.h"

int main(int argc, char** argv)
{
    const char* what = argc > 1 ? argv[1] : "load";
    if (!std::strcmp(what, "load"))
        return 0;
    if (!std::strcmp(what, "dump"))
    {
        zbExtContext.Dump(zbStdout);
        return 0;
    }
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
        for (int i = 0; i < 600; ++i)
            ::sleep(1);
        return 0;
    }
    if (!std::strcmp(what, "abort"))
    {
        zbExtContext.TrapSignals();
        std::abort();
    }
    std::fprintf(stderr, "zbProbe: unknown request %s\n", what);
    return 64;
}
