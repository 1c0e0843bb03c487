#include "zbGetopts.h"

#include "zbOFStream.h"

zbGetopts::zbGetopts(const char* iProgramName) : zbGetoptsBase(iProgramName)
{
}

zbGetopts::~zbGetopts() = default;

void zbGetopts::Usage(zbOFStream& oStream) const
{
    oStream.Print("%s usage:\n", GetArgv0());
    for (const zbGetoptsSwitchBase* option : _ListOfSwitches)
    {
        if (!option)
            continue;
        if (dynamic_cast<const zbGetoptsValuedSwitch*>(option))
            oStream.Print("   -%s xxx : %s\n", option->CastToCharPtr(),
                          option->GetHelpLabel().CastToCharPtr());
        else
            oStream.Print("   -%s : %s\n", option->CastToCharPtr(),
                          option->GetHelpLabel().CastToCharPtr());
    }
}
