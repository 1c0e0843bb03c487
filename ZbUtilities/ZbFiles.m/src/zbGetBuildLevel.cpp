#include "zbGetBuildLevel.h"

#include <cstdlib>

namespace
{
// The build-level record of this library.
char kBuildDate[] = "03-16-2007.22.00";
char kLevelNumber[] = "9";
char kLevelText[] = "9";
} // namespace

const char* zbGetBuildLevel(char** oLevel)
{
    static char* level = std::atoi(kLevelNumber) > 0 ? kLevelText : nullptr;
    if (oLevel)
        *oLevel = level;
    return kBuildDate;
}
