#include "zbPattern.h"

#include <cstdlib>
#include <cstring>

zbPattern::zbPattern(const char* iValue, int iReturnedValue, int iMetaMatch)
    : _Value(::strdup(iValue ? iValue : "")), _ReturnedValue(iReturnedValue), _MetaMatch(iMetaMatch)
{
}

zbPattern::~zbPattern()
{
    std::free(_Value);
}
