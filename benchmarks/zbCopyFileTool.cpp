// zbCopyFileTool SOURCE TARGET: one zbCopyFile, for the copy benchmark script.

#include <cstdio>

#include "zbErrorCodeManager.h"
#include "zbFileOperations.h"

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "Usage: zbCopyFileTool SOURCE TARGET\n");
        return 2;
    }
    if (zbCopyFile(argv[1], argv[2]) != 0)
    {
        std::fprintf(stderr, "zbCopyFile: %s\n",
                     zbExtLastError.GetMsgError().ConvertToUTF8().c_str());
        return 1;
    }
    return 0;
}
