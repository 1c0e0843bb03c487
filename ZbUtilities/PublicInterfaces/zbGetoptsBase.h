#ifndef zbGetoptsBase_H
#define zbGetoptsBase_H
// Command-line parser.  The string itself is the program name.
//
// Declare the switches (simple: on/off; valued: one value per occurrence),
// analyse the command line, then query switch states, switch values and the
// remaining arguments (the line values).  Switch names are words of any
// length after one '-'; one-character switches may be grouped (-ab) and a
// one-character valued switch may carry its value glued (-Ipath).  A whole
// word always wins over grouping: with ab, a and b declared, -ab sets ab.
// There is no "--" convention and no abbreviation.  Every operation taking
// a switch name drops one leading '-' from it.  Diagnostics are printed on
// zbStderr, prefixed with the program name; operations then return their
// neutral value (0, null) and go on.

#include "QORListVal.h"
#include "QORString.h"
#include "zbGetoptsSimpleSwitch.h"
#include "zbGetoptsSwitchBase.h"
#include "zbGetoptsValuedSwitch.h"

class zbMsgManager;
class zbOFStream;

class zbGetoptsBase : public QORString
{
  public:
    explicit zbGetoptsBase(const char* iProgramName);
    virtual ~zbGetoptsBase();
    zbGetoptsBase(const zbGetoptsBase&) = delete;
    zbGetoptsBase& operator=(const zbGetoptsBase&) = delete;

    // 0 when declared (or already declared the same way); 1 when the name
    // is already a switch of the other kind or cannot be stored.
    int AddSimpleSwitch(const char* iName, const char* iHelpLabel, unsigned int iLevel);
    int AddValuedSwitch(const char* iName, const char* iHelpLabel, unsigned int iLevel);
    // 1 simple switch, 2 valued switch, 0 not a switch.
    int IsASwitch(const char* iName) const;

    // 0 without error, 1 when a diagnostic was printed, 2 when iArgv has no
    // first element.  With iIgnoreUnknown, an undeclared switch is skipped
    // silently together with the argument that follows it (unless that one
    // starts with '-').  Switch states and values accumulate over analyses;
    // the program name and the line values are replaced.
    int AnalyzeCommandLine(int iArgc, const char** iArgv, const int iIgnoreUnknown);

    const char* GetArgv0() const { return CastToCharPtr(); }

    unsigned int GetSwitchStatus(const char* iName);
    void PutSwitchStatus(const char* iName, unsigned int iStatus);

    // First value of a valued switch, or null.
    QORString* GetSwitchValue(const char* iName);
    // Value number ioIndex (from 1), then ioIndex is incremented; null past
    // the last one.
    QORString* GetSwitchValue(const char* iName, int& ioIndex);
    QORString* SearchSwitchForValue(const char* iName, const QORString& iValue);
    QORListValQORString* GetSwitchAllValues(const char* iName);

    // Line value number ioIndex (from 1), then ioIndex is incremented; null
    // past the last one or once the line values are hidden.
    QORString* GetLineValue(int& ioIndex);
    // The line values, or null when there is none or they are hidden.
    QORListValQORString* GetAllLineValues();
    // As GetAllLineValues, and hides them from every later query.
    QORListValQORString* GetAndHideAllLineValues();

    // Sorts the declaration order (used by the usage) by name.
    void QuickSortSwitch();

    // One line per switch whose level is within iMinLevel..iMaxLevel: the
    // catalog message whose key is the switch's help label, with the switch
    // name as parameter.
    void Usage(zbOFStream& oStream, zbMsgManager& iMsgManager, unsigned int iMinLevel,
               unsigned int iMaxLevel) const;

  protected:
    // The valued switch of that name, printing the diagnostic when there is
    // none; a repeated call with the same name is answered from a cache.
    zbGetoptsValuedSwitch* FindValuedSwitch(const char* iName, int iUseCache);
    zbGetoptsSimpleSwitch* FindSimpleSwitch(const char* iName);
    // Shared part of AddSimpleSwitch and AddValuedSwitch.
    template <class Switch, class Dico>
    int DeclareSwitch(Dico& ioOwn, const QORHashDicoS& iOther, const char* iName,
                      const char* iShownName, const char* iKind, const char* iHelpLabel,
                      unsigned int iLevel);

    QORHashDicSzbGetoptsSimpleSwitch _SimpleSwitches;
    QORHashDicSzbGetoptsValuedSwitch _ValuedSwitches;
    QORListPtrzbGetoptsSwitchBase _ListOfSwitches;
    const char* _LastName = nullptr;
    QORString _LastNameText;
    zbGetoptsValuedSwitch* _LastSwitch = nullptr;
    QORListValQORString _LineValues;
    int _Hidden = 0;
};

#endif
