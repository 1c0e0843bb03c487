#include "zbGetoptsSimpleSwitch.h"

zbGetoptsSimpleSwitch::zbGetoptsSimpleSwitch(const char* iName, const char* iHelpLabel,
                                             unsigned int iLevel)
    : zbGetoptsSwitchBase(iName, iHelpLabel, iLevel)
{
}

zbGetoptsSimpleSwitch::~zbGetoptsSimpleSwitch() = default;
