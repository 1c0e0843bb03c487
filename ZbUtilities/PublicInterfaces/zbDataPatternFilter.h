#ifndef zbDataPatternFilter_H
#define zbDataPatternFilter_H
// The remaining direct entries of a framework (119); function tests add 118.

#include "zbPatternFilter.h"

class zbDataPatternFilter : public zbPatternFilter
{
  public:
    zbDataPatternFilter();

    void AddDataPattern() override;
    void AddFunctionTestPattern() override;
    void AddSniffPattern() override;
};

#endif
