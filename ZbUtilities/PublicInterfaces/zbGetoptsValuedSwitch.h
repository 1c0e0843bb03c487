#ifndef zbGetoptsValuedSwitch_H
#define zbGetoptsValuedSwitch_H
// A switch taking one value per occurrence; the values are kept in
// command-line order.

#include "QORHashDicS.h"
#include "QORString.h"
#include "zbGetoptsSwitchBase.h"

class zbGetoptsValuedSwitch : public zbGetoptsSwitchBase
{
  public:
    zbGetoptsValuedSwitch(const char* iName, const char* iHelpLabel, unsigned int iLevel);
    ~zbGetoptsValuedSwitch() override;

    void AddValue(const char* iValue);
    // Value number ioIndex (from 1), then ioIndex is incremented; null when
    // ioIndex is below 1 or beyond the last value (ioIndex is then unchanged).
    QORString* GetValue(int& ioIndex) const;
    // The values, or null when there is none.
    QORListValQORString* GetAllValues() const;

  private:
    mutable QORListValQORString _Values;
};

using QORHashDicSzbGetoptsValuedSwitch = QORHashDicS<zbGetoptsValuedSwitch>;

#endif
