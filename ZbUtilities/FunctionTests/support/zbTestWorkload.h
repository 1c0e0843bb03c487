#ifndef zbTestWorkload_H
#define zbTestWorkload_H
// The size of a test's work and its time bounds, chosen by how the test runs.

namespace zbtest
{
// iNormal, or iUnderValgrind when the test runs under memcheck
// (ZB_TEST_UNDER_VALGRIND set), where everything is tens of times slower.
int Workload(int iNormal, int iUnderValgrind);
} // namespace zbtest

#endif
