#ifndef zbPattern_H
#define zbPattern_H
// One path pattern over the framework layout: the pattern text, the filter
// value a path matching it gets, and the zbIOFNMatch flags it is matched
// with.  Not to be mixed up with the simple name patterns of the path
// finders (zbPatternDef).

#include "QORListPtr.h"

// Filter values: a pattern's returned value, also held by a file element.
enum
{
    ZBIO_DONT_FOLLOW = 52,     // dropped
    ZBIO_FOLLOW = 53,          // taken; a directory's entries are matched one by one
    ZBIO_FOLLOW_FOR_EVER = 54, // taken with everything beneath it
};

class zbPattern
{
  public:
    // Keeps a copy of iValue.
    zbPattern(const char* iValue, int iReturnedValue, int iMetaMatch);
    zbPattern(const zbPattern&) = delete;
    zbPattern& operator=(const zbPattern&) = delete;
    virtual ~zbPattern();

    const char* GetValue() const { return _Value; }
    int GetReturnedValue() const { return _ReturnedValue; }
    int GetMetaMatch() const { return _MetaMatch; }

  private:
    char* _Value;
    int _ReturnedValue;
    int _MetaMatch;
};

// A pattern list does not own its patterns: whoever builds one deletes them
// (ApplyDelete).
using QORListPtrzbPattern = QORListPtr<zbPattern>;

#endif
