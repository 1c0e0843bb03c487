#ifndef zbPatternFilter_H
#define zbPatternFilter_H
// A named bundle of pattern flags, offered by the tools as a ready-made
// selection of a framework.  The flags are kept as decimal texts; a tool
// builds a filter, calls the Add...Pattern operations its options ask for,
// and hands GetPatternFlagList() to BuildPatternList.

#include <cstddef>

#include "zbPatternFlag.h"
#include "zbString.h"

class zbPatternFilter
{
  public:
    zbPatternFilter();
    zbPatternFilter(const zbPatternFilter&) = delete;
    zbPatternFilter& operator=(const zbPatternFilter&) = delete;
    virtual ~zbPatternFilter();

    virtual void AddDataPattern() = 0;
    virtual void AddFunctionTestPattern() = 0;
    virtual void AddSniffPattern() = 0;

    QORListPtrzbString* GetPatternList() const { return _PatternList; }
    // A new list of new flags, one per text in order (the caller deletes
    // the list and the flags).
    QORListPtrzbPatternFlag* GetPatternFlagList() const;
    void AddPattern(const int& iFlag);
    // Removes and deletes the first text equal to the flag's.
    void RemoveAPatternInList(const int& iFlag);
    // A new string: a blank before each flag (" 119 118").
    zbString* PrintPatternList() const;

  protected:
    // Appends the iCount flags of iFlags in order.
    void AddPatterns(const int* iFlags, size_t iCount);
    template <size_t N> void AddPatterns(const int (&iFlags)[N]) { AddPatterns(iFlags, N); }

  private:
    QORListPtrzbString* _PatternList;
};

#endif
