#include "zbBaseUnknown.h"

QOR_IMPLEMENT_CLASS(zbBaseUnknown, QORBaseUnknown)

zbBaseUnknown::~zbBaseUnknown() = default;

const char* zbBaseUnknown::GetClassName() const
{
    return IsA();
}
