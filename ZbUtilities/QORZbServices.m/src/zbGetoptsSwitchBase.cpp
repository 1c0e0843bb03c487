#include "zbGetoptsSwitchBase.h"

zbGetoptsSwitchBase::zbGetoptsSwitchBase(const char* iName, const char* iHelpLabel,
                                         unsigned int iLevel)
    : QORString(iName ? iName : ""), _HelpLabel(iHelpLabel), _Level(iLevel)
{
}

zbGetoptsSwitchBase::~zbGetoptsSwitchBase() = default;
