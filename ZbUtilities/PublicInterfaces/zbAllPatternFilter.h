#ifndef zbAllPatternFilter_H
#define zbAllPatternFilter_H
// Sources and build output together; data adds 119, function tests 1113 and 118, sniff data 111.

#include "zbPatternFilter.h"
#include "zbPatternType.h"

class zbAllPatternFilter : public zbPatternFilter
{
  public:
    explicit zbAllPatternFilter(zbPatternType iType);

    void AddDataPattern() override;
    void AddFunctionTestPattern() override;
    void AddSniffPattern() override;
};

#endif
