#ifndef zbPreqPatternFilter_H
#define zbPreqPatternFilter_H
// What other frameworks need to build against this one: descriptions, interfaces, generated
// headers, IdentityCard objects and various/OS; data adds 119, function tests 118 and 1113, sniff
// data 111.

#include "zbPatternFilter.h"

class zbPreqPatternFilter : public zbPatternFilter
{
  public:
    zbPreqPatternFilter();

    void AddDataPattern() override;
    void AddFunctionTestPattern() override;
    void AddSniffPattern() override;
};

#endif
