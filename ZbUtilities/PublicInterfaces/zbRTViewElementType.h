#ifndef zbRTViewElementType_H
#define zbRTViewElementType_H
// What a runtime-view element is: runtime, build-time, internal, data,
// internal data.

#include "zbRTViewElementTag.h"

class zbRTViewElementType : public zbRTViewElementTag
{
  public:
    using zbRTViewElementTag::zbRTViewElementTag;
    using zbRTViewElementTag::operator|;
    ~zbRTViewElementType() override;
    int operator|(const zbRTViewElementType& iOther) const { return GetId() | iOther.GetId(); }
};

#endif
