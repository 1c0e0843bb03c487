#ifndef zbGetoptsSimpleSwitch_H
#define zbGetoptsSimpleSwitch_H
// An on/off switch: status 0 until the command line names it, then 1.

#include "QORHashDicS.h"
#include "zbGetoptsSwitchBase.h"

class zbGetoptsSimpleSwitch : public zbGetoptsSwitchBase
{
  public:
    zbGetoptsSimpleSwitch(const char* iName, const char* iHelpLabel, unsigned int iLevel);
    ~zbGetoptsSimpleSwitch() override;

    void PutStatus(unsigned int iStatus) { _Status = iStatus; }
    unsigned int GetStatus() const { return _Status; }

  private:
    unsigned int _Status = 0;
};

using QORHashDicSzbGetoptsSimpleSwitch = QORHashDicS<zbGetoptsSimpleSwitch>;

#endif
