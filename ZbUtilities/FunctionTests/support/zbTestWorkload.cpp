#include "zbTestWorkload.h"

#include <cstdlib>

namespace zbtest
{
int Workload(int iNormal, int iUnderValgrind)
{
    const char* flag = std::getenv("ZB_TEST_UNDER_VALGRIND");
    return flag && *flag ? iUnderValgrind : iNormal;
}
} // namespace zbtest
