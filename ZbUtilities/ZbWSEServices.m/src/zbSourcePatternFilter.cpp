#include "zbSourcePatternFilter.h"

namespace
{
const int gSourceFlags[] = {113, 112, 120, 115, 117, 116, 1114};
}

zbSourcePatternFilter::zbSourcePatternFilter()
{
    AddPatterns(gSourceFlags);
}

void zbSourcePatternFilter::AddDataPattern()
{
    AddPattern(119);
}

void zbSourcePatternFilter::AddFunctionTestPattern()
{
    AddPattern(118);
}

void zbSourcePatternFilter::AddSniffPattern()
{
}
