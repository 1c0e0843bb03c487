#include "zbGetoptsValuedSwitch.h"

zbGetoptsValuedSwitch::zbGetoptsValuedSwitch(const char* iName, const char* iHelpLabel,
                                             unsigned int iLevel)
    : zbGetoptsSwitchBase(iName, iHelpLabel, iLevel)
{
}

zbGetoptsValuedSwitch::~zbGetoptsValuedSwitch() = default;

void zbGetoptsValuedSwitch::AddValue(const char* iValue)
{
    _Values.Append(QORString(iValue ? iValue : ""));
}

QORString* zbGetoptsValuedSwitch::GetValue(int& ioIndex) const
{
    if (ioIndex < 1 || ioIndex > _Values.Size())
        return nullptr;
    return &_Values[ioIndex++];
}

QORListValQORString* zbGetoptsValuedSwitch::GetAllValues() const
{
    return _Values.Size() ? &_Values : nullptr;
}
