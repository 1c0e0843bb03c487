#ifndef zbObjectsPatternFilter_H
#define zbObjectsPatternFilter_H
// Build output: module objects, generated headers, various/OS, imported interfaces (lst/Objects too
// for the reduced type); function tests add 1113, sniff data 111.

#include "zbPatternFilter.h"
#include "zbPatternType.h"

class zbObjectsPatternFilter : public zbPatternFilter
{
  public:
    explicit zbObjectsPatternFilter(zbPatternType iType);

    void AddDataPattern() override;
    void AddFunctionTestPattern() override;
    void AddSniffPattern() override;
};

#endif
