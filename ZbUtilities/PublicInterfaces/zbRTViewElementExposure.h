#ifndef zbRTViewElementExposure_H
#define zbRTViewElementExposure_H
// Whether a runtime-view element is delivered.

#include "zbRTViewElementTag.h"

class zbRTViewElementExposure : public zbRTViewElementTag
{
  public:
    using zbRTViewElementTag::zbRTViewElementTag;
    using zbRTViewElementTag::operator|;
    ~zbRTViewElementExposure() override;
    int operator|(const zbRTViewElementExposure& iOther) const { return GetId() | iOther.GetId(); }
};

#endif
