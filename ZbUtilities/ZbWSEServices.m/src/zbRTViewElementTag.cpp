// Tags of runtime-view elements (the tag, the type and the exposure).

#include "zbRTViewElementTag.h"

#include <cstring>

#include "zbRTViewElementExposure.h"
#include "zbRTViewElementType.h"

zbRTViewElementTag::~zbRTViewElementTag() = default;

bool zbRTViewElementTag::MatchTag(const char* iText) const
{
    // Stops at a NUL of the text: a short text never matches.
    return iText && std::strncmp(iText, _Code, 3) == 0;
}

zbRTViewElementType::~zbRTViewElementType() = default;

zbRTViewElementExposure::~zbRTViewElementExposure() = default;
