#include "zbRTViewElementStat.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "zbOFStream.h"

zbRTViewElementStat::zbRTViewElementStat() : _Size(0), _LastModificationTime(0)
{
}

zbRTViewElementStat::zbRTViewElementStat(const char* iRecord)
    : zbRTViewElementStat(
          iRecord, iRecord ? static_cast<unsigned int>(strnlen(iRecord, MaxRecordLength)) : 0)
{
}

zbRTViewElementStat::zbRTViewElementStat(const char* iRecord, unsigned int iLength)
    : zbRTViewElement(iRecord, iLength), _Size(0), _LastModificationTime(0)
{
    // The base record leaves everything after the first bar in _RTVname.
    const char* rest = _RTVname.CastToCharPtr();
    const char* bar = std::strchr(rest, _rSsIs);
    if (!bar)
        return;
    std::string name(rest, static_cast<size_t>(bar - rest));
    std::string stats(bar + 1);
    std::string framework;
    std::string::size_type second = stats.find(_rSsIs);
    if (second != std::string::npos)
    {
        framework = stats.substr(second + 1);
        stats.resize(second);
    }
    long long size = 0;
    long time = 0;
    if (std::sscanf(stats.c_str(), "%lld@%ld", &size, &time) == 2 && size >= 0 && time >= 0)
        SetSizeAndLastModificationTime(size, time);
    _Framework = framework.c_str();
    _RTVname = name.c_str();
}

zbRTViewElementStat::zbRTViewElementStat(const char* iName, const char* iRTVname,
                                         const zbRTViewElementType& iType,
                                         const zbRTViewElementExposure& iExposure,
                                         const int iSkills)
    : zbRTViewElement(iName, iRTVname, iType, iExposure, iSkills), _Size(0),
      _LastModificationTime(0)
{
}

zbRTViewElementStat::zbRTViewElementStat(const zbRTViewElementStat& iOther)
    : zbRTViewElement(iOther), _Framework(iOther._Framework), _Size(iOther._Size),
      _LastModificationTime(iOther._LastModificationTime)
{
}

zbRTViewElementStat::~zbRTViewElementStat() = default;

zbRTViewElementStat& zbRTViewElementStat::operator=(const zbRTViewElementStat& iOther)
{
    if (this == &iOther)
        return *this;
    zbRTViewElement::operator=(iOther);
    _Size = iOther._Size;
    _LastModificationTime = iOther._LastModificationTime;
    _Framework = iOther._Framework;
    return *this;
}

void zbRTViewElementStat::FillBuffer(char* iBuffer, unsigned int& oLength) const
{
    oLength = 0;
    char stats[64];
    int statsLength = std::snprintf(stats, sizeof stats, "%c%lld%c%ld%c", _rSsIs, _Size, _sStIs,
                                    _LastModificationTime, _rSsIs);
    unsigned int length = static_cast<unsigned int>(_Name.GetLengthInByte()) +
                          static_cast<unsigned int>(_RTVname.GetLengthInByte()) +
                          static_cast<unsigned int>(_Framework.GetLengthInByte()) +
                          static_cast<unsigned int>(statsLength - 3) + StatRecordOverhead;
    if (length >= MaxRecordLength)
        return;
    // The element's record, its line feed replaced by the statistics.
    unsigned int head = 0;
    zbRTViewElement::FillBuffer(iBuffer, head);
    if (head == 0)
        return;
    char* p = iBuffer + head - 1;
    std::memcpy(p, stats, static_cast<size_t>(statsLength));
    p += statsLength;
    std::memcpy(p, _Framework.CastToCharPtr(), static_cast<size_t>(_Framework.GetLengthInByte()));
    p += _Framework.GetLengthInByte();
    *p++ = '\n';
    *p = 0;
    oLength = static_cast<unsigned int>(p - iBuffer);
}

void zbRTViewElementStat::Print(zbOFStream& ioStream) const
{
    zbRTViewElement::Print(ioStream);
    ioStream << _rSsIs << _Size << _sStIs << _LastModificationTime << _rSsIs
             << _Framework.CastToCharPtr();
}
