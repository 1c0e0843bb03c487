#include "zbRTViewElement.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "zbOFStream.h"
#include "zbReport.h"

// The tags: id, code, name.
const zbRTViewElementType zbRTViewElement::Runtime(1, "RTV", "Runtime");
const zbRTViewElementType zbRTViewElement::Buildtime(2, "BTV", "Buildtime");
const zbRTViewElementType zbRTViewElement::Internal(4, "INT", "Internal");
const zbRTViewElementType zbRTViewElement::Data(256, "DAT", "Data");
const zbRTViewElementType zbRTViewElement::DataInternal(512, "IDA", "DataInternal");
const zbRTViewElementExposure zbRTViewElement::Deliverable(1, "CUS", "Deliverable");
const zbRTViewElementExposure zbRTViewElement::NotDeliverable(2, "QXI", "NotDeliverable");

namespace
{
// Searched in this order by the record parser: the types up to the first
// null entry, the exposures after it up to the second.
const zbRTViewElementTag* const kLookup[] = {
    /* 0 */ &zbRTViewElement::Runtime,
    /* 1 */ &zbRTViewElement::Buildtime,
    /* 2 */ &zbRTViewElement::Internal,
    /* 3 */ &zbRTViewElement::Data,
    /* 4 */ &zbRTViewElement::DataInternal,
    /* 5 */ nullptr,
    /* 6 */ &zbRTViewElement::Deliverable,
    /* 7 */ &zbRTViewElement::NotDeliverable,
    /* 8 */ nullptr,
};
const int kFirstType = 0;
const int kFirstExposure = 6;

// The first tag from iFirst up to the next null entry whose code begins
// iText, or null.
const zbRTViewElementTag* FindTag(int iFirst, const char* iText)
{
    for (int i = iFirst; kLookup[i]; ++i)
        if (kLookup[i]->MatchTag(iText))
            return kLookup[i];
    return nullptr;
}

// The three bytes of a code; a shorter code is padded with blanks.
char* PutCode(char* oBuffer, const char* iCode)
{
    int i = 0;
    for (; i < 3 && iCode[i]; ++i)
        oBuffer[i] = iCode[i];
    for (; i < 3; ++i)
        oBuffer[i] = ' ';
    return oBuffer + 3;
}
} // namespace

zbRTViewElement::zbRTViewElement()
    : _Skills(0), _Type(&Internal), _Exposure(&NotDeliverable), _FullRTVname(nullptr)
{
}

zbRTViewElement::zbRTViewElement(const char* iRecord)
    : zbRTViewElement(iRecord,
                      iRecord ? static_cast<unsigned int>(strnlen(iRecord, MaxRecordLength)) : 0)
{
}

zbRTViewElement::zbRTViewElement(const char* iRecord, unsigned int iLength) : zbRTViewElement()
{
    if (iLength > MaxRecordLength)
        iLength = MaxRecordLength;
    if (!iRecord)
        return;
    // The line ends at its first NUL or line feed.
    if (const void* nul = std::memchr(iRecord, 0, iLength))
        iLength = static_cast<unsigned int>(static_cast<const char*>(nul) - iRecord);
    if (const void* lf = std::memchr(iRecord, '\n', iLength))
        iLength = static_cast<unsigned int>(static_cast<const char*>(lf) - iRecord);

    // The twelve header bytes, each field ended by a NUL where its
    // separator stands; bytes past the line are NULs.
    char header[13] = {};
    std::memcpy(header, iRecord, iLength < 12 ? iLength : 12);
    header[3] = header[7] = header[11] = 0;
    if (const zbRTViewElementTag* type = FindTag(kFirstType, header))
        _Type = static_cast<const zbRTViewElementType*>(type);
    if (const zbRTViewElementTag* exposure = FindTag(kFirstExposure, header + 8))
        _Exposure = static_cast<const zbRTViewElementExposure*>(exposure);
    _Skills = std::atoi(header + 4);

    if (iLength <= 12)
        return;
    const char* names = iRecord + 12;
    int length = static_cast<int>(iLength - 12);
    const char* bar = static_cast<const char*>(std::memchr(names, _rSsIs, length));
    int nameLength = bar ? static_cast<int>(bar - names) : length;
    _Name.Append(names, nameLength);
    if (bar && nameLength + 1 < length)
        _RTVname.Append(bar + 1, length - nameLength - 1);
    else
        _RTVname = _Name;
}

zbRTViewElement::zbRTViewElement(const char* iName, const char* iRTVname,
                                 const zbRTViewElementType& iType,
                                 const zbRTViewElementExposure& iExposure, const int iSkills)
    : _Name(iName), _RTVname(iRTVname), _Skills(iSkills), _Type(&iType), _Exposure(&iExposure),
      _FullRTVname(nullptr)
{
}

zbRTViewElement::zbRTViewElement(const zbRTViewElement& iOther)
    : _Name(iOther._Name), _RTVname(iOther._RTVname), _Skills(iOther._Skills), _Type(iOther._Type),
      _Exposure(iOther._Exposure),
      _FullRTVname(iOther._FullRTVname ? new zbNewString(*iOther._FullRTVname) : nullptr)
{
}

zbRTViewElement::~zbRTViewElement()
{
    delete _FullRTVname;
}

zbRTViewElement& zbRTViewElement::operator=(const zbRTViewElement& iOther)
{
    if (this == &iOther)
        return *this;
    _Name = iOther._Name;
    _RTVname = iOther._RTVname;
    _Skills = iOther._Skills;
    _Type = iOther._Type;
    _Exposure = iOther._Exposure;
    if (iOther._FullRTVname)
        SetFullRTVname(*iOther._FullRTVname);
    else
    {
        delete _FullRTVname;
        _FullRTVname = nullptr;
    }
    return *this;
}

zbRTViewElement& zbRTViewElement::operator=(const zbRTViewElementType& iType)
{
    _Type = &iType;
    return *this;
}

zbRTViewElement& zbRTViewElement::operator=(const zbRTViewElementExposure& iExposure)
{
    _Exposure = &iExposure;
    return *this;
}

void zbRTViewElement::SetFullRTVname(const zbNewString& iName)
{
    if (_FullRTVname)
        *_FullRTVname = iName;
    else
        _FullRTVname = new zbNewString(iName);
}

void zbRTViewElement::FillBuffer(char* iBuffer, unsigned int& oLength) const
{
    unsigned int nameLength = static_cast<unsigned int>(_Name.GetLengthInByte());
    unsigned int rtvLength = static_cast<unsigned int>(_RTVname.GetLengthInByte());
    oLength = 0;
    if (nameLength + rtvLength + RecordOverhead >= MaxRecordLength)
        return;
    // The skills in three digits: a negative number is reduced into 0-999
    // as well, so that a record always keeps its layout.
    int skills = _Skills % 1000;
    if (skills < 0)
        skills += 1000;
    char* p = PutCode(iBuffer, _Type->GetCode());
    *p++ = _tSsIs;
    *p++ = static_cast<char>('0' + skills / 100);
    *p++ = static_cast<char>('0' + skills / 10 % 10);
    *p++ = static_cast<char>('0' + skills % 10);
    *p++ = _sSeIs;
    p = PutCode(p, _Exposure->GetCode());
    *p++ = _eSrIs;
    std::memcpy(p, _Name.CastToCharPtr(), nameLength);
    p += nameLength;
    *p++ = _rSsIs;
    std::memcpy(p, _RTVname.CastToCharPtr(), rtvLength);
    p += rtvLength;
    *p++ = '\n';
    *p = 0;
    oLength = static_cast<unsigned int>(p - iBuffer);
}

void zbRTViewElement::Print(zbOFStream& ioStream) const
{
    char header[64];
    std::snprintf(header, sizeof header, "%s%c%.3d%c%s%c", _Type->GetCode(), _tSsIs, _Skills,
                  _sSeIs, _Exposure->GetCode(), _eSrIs);
    ioStream << header << _Name.CastToCharPtr() << _rSsIs << _RTVname.CastToCharPtr();
}

bool zbRTViewElement::Supersedes(const zbRTViewElement& iNew, const zbRTViewElement& iStored,
                                 bool iReport)
{
    if (*iStored._Type < *iNew._Type)
        return true;
    if (!(*iStored._Type == *iNew._Type))
        return false;
    if (iReport && iStored._RTVname != iNew._RTVname)
        zbReportMessage("RTVduplicate_r", {QORUnicodeString(iNew._Name.CastToCharPtr()),
                                           QORUnicodeString(iStored._RTVname.CastToCharPtr()),
                                           QORUnicodeString(iNew._RTVname.CastToCharPtr())});
    return *iStored._Exposure < *iNew._Exposure;
}
