#ifndef zbPatternSet_H
#define zbPatternSet_H
// A list of simple name patterns (zbPatternDef), owned; a name matches the
// set when it matches one of them.

#include "QORString.h"
#include "zbPatternDef.h"

class zbPatternSet : public QORListPtrzbPatternDef
{
  public:
    zbPatternSet() = default;
    zbPatternSet(const zbPatternSet&) = delete;
    zbPatternSet& operator=(const zbPatternSet&) = delete;
    virtual ~zbPatternSet();

    // A null pattern is ignored.
    void AddPattern(const char* iPattern);
    // Entries without text are skipped.
    void AddPattern(const QORListValQORString& iPatterns);

    // 0 when some pattern matches iName; 1 when none does, when the set is
    // empty or iName is null.
    int Match(const char* iName) const;
    // The same result; oPosition is the 1-based index of the first matching
    // pattern, or -1.
    int MatchPosition(const char* iName, int& oPosition) const;
};

#endif
