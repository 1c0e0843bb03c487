#include "zbPatternSet.h"

#include <cstring>

zbPatternSet::~zbPatternSet()
{
    ApplyDelete();
}

void zbPatternSet::AddPattern(const char* iPattern)
{
    if (iPattern)
        Append(new zbPatternDef(iPattern));
}

void zbPatternSet::AddPattern(const QORListValQORString& iPatterns)
{
    for (const QORString& pattern : iPatterns)
        if (!pattern.IsNull() && pattern.Length() > 0)
            Append(new zbPatternDef(pattern.CastToCharPtr()));
}

int zbPatternSet::Match(const char* iName) const
{
    int position;
    return MatchPosition(iName, position);
}

int zbPatternSet::MatchPosition(const char* iName, int& oPosition) const
{
    oPosition = -1;
    if (!iName)
        return 1;
    unsigned int length = static_cast<unsigned int>(std::strlen(iName));
    for (int i = 1; i <= Size(); ++i)
        if ((*this)[i]->Compare(iName, length) == 0)
        {
            oPosition = i;
            return 0;
        }
    return 1;
}
