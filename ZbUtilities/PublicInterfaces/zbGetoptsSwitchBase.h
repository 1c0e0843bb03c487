#ifndef zbGetoptsSwitchBase_H
#define zbGetoptsSwitchBase_H
// A switch of a command line: its name (the string itself, without the
// leading '-'), a help label and a level that selects it in the usage.

#include "QORListPtr.h"
#include "QORString.h"

class zbGetoptsSwitchBase : public QORString
{
  public:
    zbGetoptsSwitchBase(const char* iName, const char* iHelpLabel, unsigned int iLevel);
    virtual ~zbGetoptsSwitchBase();

    const QORString& GetName() const { return *this; }
    const QORString& GetHelpLabel() const { return _HelpLabel; }
    unsigned int GetLevel() const { return _Level; }

  private:
    QORString _HelpLabel;
    unsigned int _Level;
};

using QORListPtrzbGetoptsSwitchBase = QORListPtr<zbGetoptsSwitchBase>;

#endif
