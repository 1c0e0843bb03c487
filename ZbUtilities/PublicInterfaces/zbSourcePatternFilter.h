#ifndef zbSourcePatternFilter_H
#define zbSourcePatternFilter_H
// Module sources and descriptions, IdentityCard, interfaces and V4Adaptors; data adds 119, function
// tests 118.

#include "zbPatternFilter.h"

class zbSourcePatternFilter : public zbPatternFilter
{
  public:
    zbSourcePatternFilter();

    void AddDataPattern() override;
    void AddFunctionTestPattern() override;
    void AddSniffPattern() override;
};

#endif
