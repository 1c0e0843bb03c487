#ifndef zbTestWorkload_H
#define zbTestWorkload_H
// The size of a test's work and its time bounds, chosen by how the test runs.

#include <cstdlib>

namespace zbtest
{
// iNormal, or iUnderValgrind when the test runs under memcheck
// (ZB_TEST_UNDER_VALGRIND set), where everything is tens of times slower.
inline int Workload(int iNormal, int iUnderValgrind)
{
    const char* flag = std::getenv("ZB_TEST_UNDER_VALGRIND");
    return flag && *flag ? iUnderValgrind : iNormal;
}
} // namespace zbtest

#endif
