// zbsvc context: prints the build context.

#include <cstdio>

#include "zbContext.h"
#include "zbOFStream.h"
#include "zbsvcVerbs.h"

int zbsvcContext(int argc, char** argv)
{
    if (argc > 1)
    {
        std::fprintf(stderr, "Usage: zbsvc context\n");
        (void)argv;
        return 2;
    }
    zbExtContext.Dump(zbStdout);
    return zbStdout.GetErrno() ? 1 : 0;
}
