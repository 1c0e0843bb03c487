#include "zbPreqPatternFilter.h"

namespace
{
const int gPreqFlags[] = {113, 115, 1110, 117, 1112, 116, 1111, 1114, 1115, 1117, 114};
const int gPreqTestFlags[] = {118, 1113};
} // namespace

zbPreqPatternFilter::zbPreqPatternFilter()
{
    AddPatterns(gPreqFlags);
}

void zbPreqPatternFilter::AddDataPattern()
{
    AddPattern(119);
}

void zbPreqPatternFilter::AddFunctionTestPattern()
{
    AddPatterns(gPreqTestFlags);
}

void zbPreqPatternFilter::AddSniffPattern()
{
    AddPattern(111);
}
