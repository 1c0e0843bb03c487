#include "zbAllPatternFilter.h"

namespace
{
const int gAllFlags[] = {113,  112, 120,  115,  117,  116,  1114, 110,
                         1117, 114, 1116, 1110, 1112, 1111, 1115};
const int gAllTestFlags[] = {1113, 118};
} // namespace

zbAllPatternFilter::zbAllPatternFilter(zbPatternType iType)
{
    AddPatterns(gAllFlags);
    if (iType == zbReducedPatternType)
        AddPattern(1118);
}

void zbAllPatternFilter::AddDataPattern()
{
    AddPattern(119);
}

void zbAllPatternFilter::AddFunctionTestPattern()
{
    AddPatterns(gAllTestFlags);
}

void zbAllPatternFilter::AddSniffPattern()
{
    AddPattern(111);
}
