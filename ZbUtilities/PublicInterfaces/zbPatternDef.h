#ifndef zbPatternDef_H
#define zbPatternDef_H
// One simple name pattern: a text with an optional '*' at its start and/or
// at its end ("lib*", "*.h", "*sub*", or an exact name).  A '*' anywhere
// else is an ordinary character; "*" alone matches every name.

#include "QORListPtr.h"

class zbPatternDef
{
  public:
    // Comparison of a string of iLength characters: 0 for a match.
    using CompareFunction = int (*)(const char* iString, const unsigned int iLength,
                                    const zbPatternDef& iPattern);

    // A null pattern never matches.
    explicit zbPatternDef(const char* iPattern);
    zbPatternDef(const zbPatternDef&) = delete;
    zbPatternDef& operator=(const zbPatternDef&) = delete;
    virtual ~zbPatternDef();

    int Compare(const char* iString, const unsigned int iLength) const
    {
        return _Compare(iString, iLength, *this);
    }
    const char* GetText() const { return _Text; }

    static int _CompareWith(const char* iString, const unsigned int iLength,
                            const zbPatternDef& iPattern);
    static int _CompareWithHead(const char* iString, const unsigned int iLength,
                                const zbPatternDef& iPattern);
    static int _CompareWithTail(const char* iString, const unsigned int iLength,
                                const zbPatternDef& iPattern);
    static int _SearchInside(const char* iString, const unsigned int iLength,
                             const zbPatternDef& iPattern);
    static int _DoesntMatch(const char* iString, const unsigned int iLength,
                            const zbPatternDef& iPattern);

  private:
    char* _Text;
    unsigned int _Length;
    CompareFunction _Compare;
};

using QORListPtrzbPatternDef = QORListPtr<zbPatternDef>;

#endif
