#ifndef zbEmptyPatternFilter_H
#define zbEmptyPatternFilter_H
// No flag at all; the Add...Pattern operations add nothing.

#include "zbPatternFilter.h"

class zbEmptyPatternFilter : public zbPatternFilter
{
  public:
    zbEmptyPatternFilter();

    void AddDataPattern() override;
    void AddFunctionTestPattern() override;
    void AddSniffPattern() override;
};

#endif
