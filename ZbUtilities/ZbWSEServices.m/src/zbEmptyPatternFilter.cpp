#include "zbEmptyPatternFilter.h"

zbEmptyPatternFilter::zbEmptyPatternFilter() = default;

void zbEmptyPatternFilter::AddDataPattern()
{
}

void zbEmptyPatternFilter::AddFunctionTestPattern()
{
}

void zbEmptyPatternFilter::AddSniffPattern()
{
}
