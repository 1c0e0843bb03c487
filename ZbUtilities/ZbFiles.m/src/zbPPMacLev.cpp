#include "zbPPMacLev.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "zbFileOperations.h"
#include "zbPP.h"

zbPPMacLev::zbPPMacLev(const int iBuckets)
    : _LoadStatus(0), _Defines(static_cast<unsigned int>(iBuckets > 0 ? iBuckets : 1))
{
}

zbPPMacLev::~zbPPMacLev() = default;

int zbPPMacLev::Insert(const QORString& iName, const char* iValue)
{
    if (iValue)
        return _Defines.Insert(iName, iValue, zbMacroSet::ReplaceExisting) ? 1 : 0;
    std::string assignment = iName.Std();
    if (_Defines.Insert(&assignment[0], '=', zbMacroSet::ReplaceExisting))
        return 1;
    return _Defines.Insert(iName, "", zbMacroSet::ReplaceExisting) ? 1 : 0;
}

int zbPPMacLev::InsertLevel(const char* iLevelFile)
{
    char* text = nullptr;
    unsigned int length = 0;
    if (!iLevelFile || zbMMap(iLevelFile, 8, text, length, '\n') != 0 || !text || length == 0)
    {
        std::free(text);
        return 1;
    }
    int status = zbPP(*this, _Defines, text, iLevelFile, 0);
    if (status == 0)
        _LoadStatus = 1;
    std::free(text);
    return status;
}

const QORString* zbPPMacLev::GetValue(const QORString& iName) const
{
    return _Defines.GetValue(iName);
}

void zbPPMacLev::Remove(const QORString& iName)
{
    _Defines.Remove(iName);
}

void zbPPMacLev::Dump(zbOFStream& oStream) const
{
    _Defines.Dump(oStream);
}
