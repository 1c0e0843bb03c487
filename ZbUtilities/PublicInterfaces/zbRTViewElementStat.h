#ifndef zbRTViewElementStat_H
#define zbRTViewElementStat_H
// A runtime-view element with the size and modification time of the file it
// installs and the framework that delivers it, as one record of a
// statistics file:
//
//   TTT/SSS/EEE NAME|RTVNAME|SIZE@TIME|FRAMEWORK
//
// the header as in zbRTViewElement, SIZE ("%lld") and TIME ("%ld") in
// decimal.  A record (line feed included) is shorter than MaxRecordLength
// bytes; a longer one is never written.

#include "zbRTViewElement.h"

class zbRTViewElementStat : public zbRTViewElement
{
  public:
    // Between size and time.
    static constexpr char _sStIs = '@';
    // Bytes of a record besides the names and the digits: the twelve header
    // bytes, three bars, the at sign and the line feed.
    static constexpr unsigned int StatRecordOverhead = 17;

    zbRTViewElementStat();
    // Parses one record as zbRTViewElement does, then splits the text after
    // the first bar: runtime-view name, size@time, framework.  Size and time
    // are taken only when both read and neither is negative.
    explicit zbRTViewElementStat(const char* iRecord);
    // The same for a record of iLength bytes that needs no NUL after it.
    zbRTViewElementStat(const char* iRecord, unsigned int iLength);
    zbRTViewElementStat(const char* iName, const char* iRTVname, const zbRTViewElementType& iType,
                        const zbRTViewElementExposure& iExposure, const int iSkills);
    zbRTViewElementStat(const zbRTViewElementStat& iOther);
    ~zbRTViewElementStat() override;

    using zbRTViewElement::operator=;
    void FillBuffer(char* iBuffer, unsigned int& oLength) const override;
    // The record without its line feed, the skills not reduced.
    void Print(zbOFStream& ioStream) const override;
    // The element's fields, then size, time and framework.
    virtual zbRTViewElementStat& operator=(const zbRTViewElementStat& iOther);

    const long long& GetSize() const { return _Size; }
    const long& GetLastModificationTime() const { return _LastModificationTime; }
    void SetSizeAndLastModificationTime(const long long& iSize, const long& iTime)
    {
        _Size = iSize;
        _LastModificationTime = iTime;
    }

    zbNewString _Framework;
    long long _Size;
    long _LastModificationTime;
};

using QORListPtrzbRTViewElementStat = QORListPtr<zbRTViewElementStat>;

using zbHashDiczbRTViewElementStat = zbHashDic<zbRTViewElementStat>;
template <> struct zbHashDicValueName<zbRTViewElementStat>
{
    static const char* Text() { return "zbRTViewElementStat"; }
};

using zbHashDiczbHashDiczbRTViewElementStat = zbHashDic<zbHashDiczbRTViewElementStat>;
template <> struct zbHashDicValueName<zbHashDiczbRTViewElementStat>
{
    static const char* Text() { return "zbHashDiczbRTViewElementStat"; }
};

#endif
