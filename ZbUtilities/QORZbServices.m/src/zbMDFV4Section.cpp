#include "zbMDFV4Section.h"

#include "zbOFStream.h"

zbMDFV4Section::zbMDFV4Section(const char* const* iLines, const int iFirst, const int iLast)
    : _Lines(iLines), _First(iFirst), _Last(iLast), _Size(iLast >= iFirst ? iLast - iFirst + 1 : 0)
{
}

zbMDFV4Section::~zbMDFV4Section() = default;

const char* zbMDFV4Section::operator[](const int iIndex) const
{
    if (!_Lines || iIndex < 0 || iIndex >= _Size || _First < 0)
        return nullptr;
    return _Lines[_First + iIndex];
}

int zbMDFV4Section::GetListOfValues(QORListValQORString& ioList) const
{
    if (!_Lines || _First < 0)
        return _Size;
    for (int i = _First; i <= _Last; ++i)
        if (_Lines[i])
            ioList.Append(QORString(_Lines[i]));
    return _Size;
}

void zbMDFV4Section::Dump(zbOFStream& oStream) const
{
    if (!_Lines || _First < 0)
        return;
    for (int i = _First; i <= _Last; ++i)
        if (_Lines[i])
            oStream << "#  - '" << _Lines[i] << "'" << endl;
}
