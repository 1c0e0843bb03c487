#include "zbRunMonitor.h"

zbRunMonitor::~zbRunMonitor() = default;

void zbRunMonitor::BeforeOutput()
{
}

void zbRunMonitor::Progress(const Counts& /*iCounts*/)
{
}
