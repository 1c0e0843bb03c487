#ifndef zbPatternList_H
#define zbPatternList_H
// Pattern lists over the framework layout: built from pattern flags,
// completed with the framework paths, module names and operating-system
// names, and printed.
//
// Templates hold the keys "%fw%" (framework path), "%mod%" (module name) and
// "%os%" (operating-system name).  A path takes the returned value of the
// first pattern it matches, so the order of the list decides.

#include "zbPattern.h"
#include "zbPatternFlag.h"
#include "zbPatternType.h"
#include "zbString.h"

class zbOFStream;

// A new list (the caller deletes the list and its patterns): "%fw%" (53),
// then the rows of the table whose condition is 0 or a flag of iFlags.
QORListPtrzbPattern* BuildPatternList(QORListPtrzbPatternFlag iFlags, zbPatternType iType);

// Appends zbPattern(iValue, iReturnedValue, iMetaMatch) to ioList when
// iCondition is 0 or one of iFlags; a null list does nothing.
void AddWithCond(QORListPtrzbPattern* ioList, const char* iValue, int iReturnedValue,
                 QORListPtrzbPatternFlag iFlags, int iCondition, int iMetaMatch);

// A new list with every key replaced by each value of its list: framework
// paths outermost, then module names, then operating-system names.  A
// template whose key has no value gives no pattern; a key that occurs
// twice is replaced once.  iPatterns is left as it is.
QORListPtrzbPattern* SubstKeyInPattern(QORListPtrzbPattern& iPatterns, QORListPtrzbString& iOSNames,
                                       QORListPtrzbString& iModuleNames,
                                       QORListPtrzbString& iFrameworkPaths);

// The recursive worker: looks for iKeys[iKeyCount - 1] down to iKeys[0];
// the first one found is replaced by each value of its list in turn, the
// result worked on with the keys before it.  With no key left, appends a
// new pattern to oOut.
void SubstKeyInPattern_internal(const char* iText, int iReturnedValue, int iMetaMatch,
                                QORListPtrzbString** iValueLists, const char* const* iKeys,
                                int iKeyCount, QORListPtrzbPattern* oOut);

// A new malloc'ed string: iText with the first iKey replaced by iValue, or a
// copy of iText when iKey does not occur.  The caller frees it.
char* subst_str(const char* iKey, const char* iValue, const char* iText);

// "TITLE size: N", then one line per pattern: its value, its filter value by
// name and its meta-match.
void PrintPatternList(QORListPtrzbPattern iPatterns, zbOFStream& oStream, const char* iTitle);

#endif
