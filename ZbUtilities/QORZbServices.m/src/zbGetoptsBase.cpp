#include "zbGetoptsBase.h"

#include "zbMsgManager.h"
#include "zbOFStream.h"

namespace
{
// Every operation taking a switch name drops one leading '-'.
const char* StripDash(const char* iName)
{
    if (!iName)
        return "";
    return iName[0] == '-' ? iName + 1 : iName;
}

int CompareSwitches(const zbGetoptsSwitchBase* iA, const zbGetoptsSwitchBase* iB)
{
    if (!iA || !iB)
        return iA ? 1 : (iB ? -1 : 0);
    return iA->Compare(*iB);
}
} // namespace

zbGetoptsBase::zbGetoptsBase(const char* iProgramName)
    : QORString(iProgramName), _SimpleSwitches(10), _ValuedSwitches(10)
{
}

zbGetoptsBase::~zbGetoptsBase()
{
    _ListOfSwitches.RemoveAll();
    _SimpleSwitches.ApplyDelete();
    _ValuedSwitches.ApplyDelete();
}

template <class Switch, class Dico>
int zbGetoptsBase::DeclareSwitch(Dico& ioOwn, const QORHashDicoS& iOther, const char* iName,
                                 const char* iShownName, const char* iKind, const char* iHelpLabel,
                                 unsigned int iLevel)
{
    if (ioOwn.Locate(iName))
        return 0;
    if (iOther.Locate(iName))
    {
        zbStderr.Print("%s: ambiguous simple/valued switch [%s], %s is ignored\n", GetArgv0(),
                       iShownName, iKind);
        return 1;
    }
    Switch* option = new Switch(iName, iHelpLabel, iLevel);
    if (!ioOwn.Insert(iName, option))
    {
        zbStderr.Print("%s: insertion failed -- %s\n", GetArgv0(), iName);
        delete option;
        return 1;
    }
    _ListOfSwitches.Append(option);
    // A name looked up before it was declared must be looked up again.
    _LastName = nullptr;
    _LastSwitch = nullptr;
    return 0;
}

int zbGetoptsBase::AddSimpleSwitch(const char* iName, const char* iHelpLabel, unsigned int iLevel)
{
    const char* name = StripDash(iName);
    return DeclareSwitch<zbGetoptsSimpleSwitch>(_SimpleSwitches, _ValuedSwitches, name, name,
                                                "simple", iHelpLabel, iLevel);
}

int zbGetoptsBase::AddValuedSwitch(const char* iName, const char* iHelpLabel, unsigned int iLevel)
{
    return DeclareSwitch<zbGetoptsValuedSwitch>(_ValuedSwitches, _SimpleSwitches, StripDash(iName),
                                                iName ? iName : "", "valued", iHelpLabel, iLevel);
}

int zbGetoptsBase::IsASwitch(const char* iName) const
{
    const char* name = StripDash(iName);
    if (_SimpleSwitches.Locate(name))
        return 1;
    if (_ValuedSwitches.Locate(name))
        return 2;
    return 0;
}

int zbGetoptsBase::AnalyzeCommandLine(int iArgc, const char** iArgv, const int iIgnoreUnknown)
{
    if (!iArgv || iArgc < 1 || !iArgv[0])
        return 2;
    QORString::operator=(iArgv[0]);
    _LastName = nullptr;
    _LastSwitch = nullptr;
    _LineValues.RemoveAll();

    int error = 0;
    // The value of a valued switch is the next argument, which is consumed
    // even when it is missing its value (it starts with '-').
    auto takeNextValue = [&](zbGetoptsValuedSwitch* ioSwitch, const char* iName, int& ioIndex)
    {
        const char* next = ioIndex + 1 < iArgc ? iArgv[ioIndex + 1] : nullptr;
        if (next)
            ++ioIndex;
        if (!next || next[0] == '-')
        {
            zbStderr.Print("%s: option requires an argument -- %s\n", GetArgv0(), iName);
            error = 1;
            return;
        }
        ioSwitch->AddValue(next);
    };

    for (int i = 1; i < iArgc && iArgv[i]; ++i)
    {
        const char* argument = iArgv[i];
        if (argument[0] != '-')
        {
            _LineValues.Append(QORString(argument));
            continue;
        }
        const char* rest = argument + 1;
        while (true)
        {
            QORString word(rest);
            if (zbGetoptsSimpleSwitch* simple = _SimpleSwitches.Locate(word))
            {
                simple->PutStatus(1);
                break;
            }
            if (zbGetoptsValuedSwitch* valued = _ValuedSwitches.Locate(word))
            {
                takeNextValue(valued, rest, i);
                break;
            }
            // One character of a group.  '-' alone stands for the name NUL,
            // never declared.
            char letter[2] = {rest[0], 0};
            if (letter[0])
            {
                QORString name(letter);
                if (zbGetoptsSimpleSwitch* simple = _SimpleSwitches.Locate(name))
                {
                    simple->PutStatus(1);
                    ++rest;
                    if (*rest)
                        continue;
                    break;
                }
                if (zbGetoptsValuedSwitch* valued = _ValuedSwitches.Locate(name))
                {
                    if (rest[1])
                        valued->AddValue(rest + 1);
                    else
                        takeNextValue(valued, letter, i);
                    break;
                }
            }
            if (iIgnoreUnknown)
            {
                if (i + 1 < iArgc && iArgv[i + 1] && iArgv[i + 1][0] != '-')
                    ++i;
            }
            else
            {
                zbStderr.Print("%s: illegal option -- %s\n", GetArgv0(), letter);
                error = 1;
            }
            break;
        }
    }
    return error;
}

zbGetoptsSimpleSwitch* zbGetoptsBase::FindSimpleSwitch(const char* iName)
{
    zbGetoptsSimpleSwitch* simple = _SimpleSwitches.Locate(StripDash(iName));
    if (!simple)
        zbStderr.Print("%s: is not a simple switch -- %s\n", GetArgv0(), StripDash(iName));
    return simple;
}

zbGetoptsValuedSwitch* zbGetoptsBase::FindValuedSwitch(const char* iName, int iUseCache)
{
    // The cache is keyed on the caller's pointer; the text is compared too,
    // so that a buffer reused for another name is not answered wrongly.
    if (iUseCache && iName && iName == _LastName && _LastNameText == iName)
        return _LastSwitch;
    zbGetoptsValuedSwitch* valued = _ValuedSwitches.Locate(StripDash(iName));
    if (!valued)
        zbStderr.Print("%s: is not a valued switch -- %s\n", GetArgv0(), StripDash(iName));
    if (iUseCache && iName)
    {
        _LastName = iName;
        _LastNameText = iName;
        _LastSwitch = valued;
    }
    return valued;
}

unsigned int zbGetoptsBase::GetSwitchStatus(const char* iName)
{
    zbGetoptsSimpleSwitch* simple = FindSimpleSwitch(iName);
    return simple ? simple->GetStatus() : 0;
}

void zbGetoptsBase::PutSwitchStatus(const char* iName, unsigned int iStatus)
{
    if (zbGetoptsSimpleSwitch* simple = FindSimpleSwitch(iName))
        simple->PutStatus(iStatus);
}

QORString* zbGetoptsBase::GetSwitchValue(const char* iName)
{
    int index = 1;
    return GetSwitchValue(iName, index);
}

QORString* zbGetoptsBase::GetSwitchValue(const char* iName, int& ioIndex)
{
    zbGetoptsValuedSwitch* valued = FindValuedSwitch(iName, 1);
    return valued ? valued->GetValue(ioIndex) : nullptr;
}

QORString* zbGetoptsBase::SearchSwitchForValue(const char* iName, const QORString& iValue)
{
    zbGetoptsValuedSwitch* valued = FindValuedSwitch(iName, 0);
    QORListValQORString* values = valued ? valued->GetAllValues() : nullptr;
    if (!values)
        return nullptr;
    int position = values->Locate(iValue);
    return position ? &(*values)[position] : nullptr;
}

QORListValQORString* zbGetoptsBase::GetSwitchAllValues(const char* iName)
{
    zbGetoptsValuedSwitch* valued = FindValuedSwitch(iName, 0);
    return valued ? valued->GetAllValues() : nullptr;
}

QORString* zbGetoptsBase::GetLineValue(int& ioIndex)
{
    if (_Hidden || ioIndex < 1 || ioIndex > _LineValues.Size())
        return nullptr;
    return &_LineValues[ioIndex++];
}

QORListValQORString* zbGetoptsBase::GetAllLineValues()
{
    return _Hidden || _LineValues.Size() == 0 ? nullptr : &_LineValues;
}

QORListValQORString* zbGetoptsBase::GetAndHideAllLineValues()
{
    QORListValQORString* values = GetAllLineValues();
    _Hidden = 1;
    return values;
}

void zbGetoptsBase::QuickSortSwitch()
{
    _ListOfSwitches.QuickSort(CompareSwitches);
}

void zbGetoptsBase::Usage(zbOFStream& oStream, zbMsgManager& iMsgManager, unsigned int iMinLevel,
                          unsigned int iMaxLevel) const
{
    for (const zbGetoptsSwitchBase* option : _ListOfSwitches)
    {
        if (!option || option->GetLevel() < iMinLevel || option->GetLevel() > iMaxLevel)
            continue;
        QORUnicodeString message =
            iMsgManager.GetMsg(option->GetHelpLabel(), QORUnicodeString(option->GetName()));
        oStream.Print("%s\n", message.ConvertToChar().CastToCharPtr());
    }
}
