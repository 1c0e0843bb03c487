#include "zbRunMonitor.h"

zbRunMonitor::~zbRunMonitor() = default;

void zbRunMonitor::BeforeOutput()
{
}

void zbRunMonitor::AfterOutput(const char* /*iCapturedFile*/)
{
}

void zbRunMonitor::Progress(const Counts& /*iCounts*/)
{
}
