#ifndef zbGetopts_H
#define zbGetopts_H
// Command-line parser with a plain usage: the help labels are texts.

#include "zbGetoptsBase.h"

class zbGetopts : public zbGetoptsBase
{
  public:
    explicit zbGetopts(const char* iProgramName);
    ~zbGetopts() override;

    using zbGetoptsBase::Usage;
    // "PROGRAM usage:" then one line per switch in declaration order.
    void Usage(zbOFStream& oStream) const;
};

#endif
