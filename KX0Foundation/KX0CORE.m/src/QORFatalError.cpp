#include "QORFatalError.h"

#include <cstdio>
#include <cstdlib>

#include "QORStackTrace.h"

int QORDevelopmentStage(int)
{
    const char* value = std::getenv("QOR_DEVELOPMENT_STAGE");
    return value && std::atoi(value) != 0 ? 1 : 0;
}

void QORFatalError(const char* iMessage, const char* iFile, int iLine)
{
    std::fprintf(stderr, "Fatal error: %s (%s, line %d)\n", iMessage ? iMessage : "",
                 iFile ? iFile : "<unknown>", iLine);
    std::fflush(stderr);
    if (QORDevelopmentStage(0))
    {
        QORBasicStackTrace trace;
        QORStackTrace::GetTrace(trace);
        trace.Print(stderr, 1, 0);
        std::abort();
    }
    std::exit(1);
}
