#include "zbPatternFilter.h"

#include <cstdio>
#include <cstdlib>

namespace
{
zbString* FlagText(int iFlag)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", iFlag);
    return new zbString(text);
}
} // namespace

zbPatternFilter::zbPatternFilter() : _PatternList(new QORListPtrzbString)
{
}

zbPatternFilter::~zbPatternFilter()
{
    _PatternList->ApplyDelete();
    delete _PatternList;
}

QORListPtrzbPatternFlag* zbPatternFilter::GetPatternFlagList() const
{
    QORListPtrzbPatternFlag* flags = new QORListPtrzbPatternFlag(_PatternList->Size());
    for (zbString* text : *_PatternList)
        flags->Append(new zbPatternFlag(std::atoi(text->CastToCharPtr())));
    return flags;
}

void zbPatternFilter::AddPattern(const int& iFlag)
{
    _PatternList->Append(FlagText(iFlag));
}

void zbPatternFilter::AddPatterns(const int* iFlags, size_t iCount)
{
    for (size_t i = 0; i < iCount; ++i)
        AddPattern(iFlags[i]);
}

void zbPatternFilter::RemoveAPatternInList(const int& iFlag)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", iFlag);
    for (int i = 1; i <= _PatternList->Size(); ++i)
        if (*(*_PatternList)[i] == text)
        {
            delete (*_PatternList)[i];
            _PatternList->RemovePosition(i);
            return;
        }
}

zbString* zbPatternFilter::PrintPatternList() const
{
    zbString* printed = new zbString;
    for (zbString* text : *_PatternList)
    {
        printed->Append(" ");
        printed->Append(*text);
    }
    return printed;
}
