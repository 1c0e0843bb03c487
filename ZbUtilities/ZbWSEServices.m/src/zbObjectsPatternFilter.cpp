#include "zbObjectsPatternFilter.h"

namespace
{
const int gObjectsFlags[] = {110, 1117, 114, 1116, 1110, 1112, 1111, 1115};
}

zbObjectsPatternFilter::zbObjectsPatternFilter(zbPatternType iType)
{
    AddPatterns(gObjectsFlags);
    if (iType == zbReducedPatternType)
        AddPattern(1118);
}

void zbObjectsPatternFilter::AddDataPattern()
{
}

void zbObjectsPatternFilter::AddFunctionTestPattern()
{
    AddPattern(1113);
}

void zbObjectsPatternFilter::AddSniffPattern()
{
    AddPattern(111);
}
