#ifndef zbPatternFlag_H
#define zbPatternFlag_H
// One pattern flag: a number that switches on the rows of the pattern table
// that carry it as their condition (see zbPatternList.h).

#include "QORListPtr.h"

class zbPatternFlag
{
  public:
    explicit zbPatternFlag(int iFlag) : _Flag(iFlag) {}
    virtual ~zbPatternFlag() = default;

    int GetFlag() const { return _Flag; }

  private:
    int _Flag;
};

// Owns nothing by itself: whoever builds the list deletes the flags.
using QORListPtrzbPatternFlag = QORListPtr<zbPatternFlag>;

#endif
