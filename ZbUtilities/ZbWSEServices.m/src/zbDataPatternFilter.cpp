#include "zbDataPatternFilter.h"

zbDataPatternFilter::zbDataPatternFilter()
{
    AddPattern(119);
}

void zbDataPatternFilter::AddDataPattern()
{
}

void zbDataPatternFilter::AddFunctionTestPattern()
{
    AddPattern(118);
}

void zbDataPatternFilter::AddSniffPattern()
{
}
