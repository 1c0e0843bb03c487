#include "zbDirectories.h"

#include <cerrno>
#include <cstdlib>
#include <unistd.h>

#include "zbErrorCodeManager.h"

void zbSplitPathConcatenation(QORListValQORString& oOut, const char* iConcat, const char iSeparator)
{
    if (!iConcat)
        return;
    const char* start = iConcat;
    for (const char* p = iConcat;; ++p)
    {
        if (*p == iSeparator || *p == 0)
        {
            if (p > start)
                oOut.Append(QORString(start, static_cast<size_t>(p - start)));
            if (*p == 0)
                return;
            start = p + 1;
        }
    }
}

char* zbGetPWD()
{
    if (char* pwd = std::getenv("PWD"))
        return pwd;
    static char buffer[1025];
    return ::getcwd(buffer, 1024) ? buffer : nullptr;
}

int zbSetPWD(const char* iPath)
{
    if (iPath && ::chdir(iPath) == 0)
        return 0;
    zbExtLastError.SetErrno(iPath ? errno : EINVAL);
    return 1;
}
