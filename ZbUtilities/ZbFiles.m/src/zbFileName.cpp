#include "zbFileName.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "zbInternalError.h"
#include "zbMacroSet.h"
#include "zbNewString.h"
#include "zbOFStream.h"

namespace
{
const char kSource[] = "ZbUtilities/ZbFiles.m/src/zbFileName";

inline bool IsSeparator(char iChar)
{
    return iChar == zbUnixPathSeparator[0] || iChar == zbDosPathSeparator[0];
}

// The first workspace marker "/./" of the iLength characters at iText, or
// null.  Its middle character is the rarer one in a path: looked for first.
char* FindMarker(char* iText, uint32_t iLength)
{
    static_assert(sizeof zbWSPathSeparator == 4, "a marker of three characters");
    if (iLength < 3)
        return nullptr;
    char* last = iText + iLength - 1; // the marker's middle lies before it
    for (char* p = iText + 1; p < last; ++p)
    {
        p = static_cast<char*>(std::memchr(p, zbWSPathSeparator[1], static_cast<size_t>(last - p)));
        if (!p)
            break;
        if (p[-1] == zbWSPathSeparator[0] && p[1] == zbWSPathSeparator[2])
            return p - 1;
    }
    return nullptr;
}

inline const char* OrNil(const char* iText)
{
    return iText ? iText : "<nil>";
}

inline const char* OrNil(const QORString& iText)
{
    return iText.IsNull() ? "<nil>" : iText.CastToCharPtr();
}
} // namespace

zbFileName::zbFileName()
    : _Fullname(nullptr), _Length(0), _Basename(nullptr), _WSSeparator(nullptr), _BOClName(nullptr),
      _Capacity(0)
{
    std::memset(_Buffer, 0, sizeof _Buffer);
}

zbFileName::zbFileName(const zbFileName& iOther) : zbFileName()
{
    CopyFrom(iOther);
}

zbFileName::zbFileName(const char* iPath) : zbFileName()
{
    if (iPath)
        Assign(iPath, static_cast<uint32_t>(std::strlen(iPath)));
}

zbFileName::zbFileName(const char* iDir, const char* iName, const char* iExt) : zbFileName()
{
    size_t a = iDir ? std::strlen(iDir) : 0;
    size_t b = iName ? std::strlen(iName) : 0;
    size_t c = iExt ? std::strlen(iExt) : 0;
    if (a + b == 0)
        return;
    // The name is composed in place, then normalised.
    char* text = Reserve(static_cast<uint32_t>(a + b + c + 1));
    char* p = text;
    if (a > 0)
    {
        std::memcpy(p, iDir, a);
        p += a;
        *p++ = zbPathSeparator[0];
    }
    char* name = p;
    if (b > 0)
        std::memcpy(p, iName, b);
    p += b;
    *p = 0;
    if (c > 0)
    {
        char* dot = std::strrchr(name, zbExtendSeparator[0]);
        p = dot ? dot : p;
        std::memcpy(p, iExt, c);
        p += c;
        *p = 0;
    }
    _Length = static_cast<uint32_t>(p - text);
    if (_Length <= InlineCapacity && _Capacity > 0)
    {
        // A replaced extension may have made the name short enough to live inline.
        std::memcpy(_Buffer, text, _Length + 1);
        std::free(text);
        _Capacity = 0;
        text = _Buffer;
    }
    _Fullname = text;
    Normalise();
}

zbFileName::~zbFileName()
{
    if (_Capacity > 0)
        std::free(_Fullname);
}

zbFileName& zbFileName::operator=(const zbFileName& iOther)
{
    if (this != &iOther)
        CopyFrom(iOther);
    return *this;
}

zbFileName& zbFileName::operator=(const char* iPath)
{
    _BOClName = nullptr;
    _Stats.Reset();
    if (!iPath || !*iPath)
    {
        Clear();
        return *this;
    }
    uint32_t length = static_cast<uint32_t>(std::strlen(iPath));
    if (_Fullname && iPath >= _Fullname && iPath <= _Fullname + _Length)
    {
        // A text taken from this very name: copy it away before the storage changes.
        char* copy = static_cast<char*>(std::malloc(length + 1));
        if (!copy)
            zbInternalError("copy != NULL", kSource, __LINE__, 1);
        std::memcpy(copy, iPath, length + 1);
        Assign(copy, length);
        std::free(copy);
    }
    else
        Assign(iPath, length);
    return *this;
}

zbFileName& zbFileName::AssignJoined(const zbFileName& iDir, const char* iName,
                                     uint32_t iNameLength)
{
    const char* end = _Fullname ? _Fullname + _Length : nullptr;
    if (!iDir._Fullname || !iNameLength || IsSeparator(iName[iNameLength - 1]) || &iDir == this ||
        (_Fullname && iName >= _Fullname && iName <= end))
    {
        // The rare cases take the general way: the text joined, then assigned.
        std::string joined;
        if (iDir._Fullname)
            joined.append(iDir._Fullname, iDir._Length).append(zbPathSeparator, 1);
        joined.append(iName, iNameLength);
        return *this = joined.c_str();
    }
    _BOClName = nullptr;
    _Stats.Reset();
    // The directory's text is normalised already: only the name's part is
    // looked at, and the directory's marker is kept.
    const uint32_t dirLength = iDir._Length;
    const uint32_t length = dirLength + 1 + iNameLength;
    char* text = Reserve(length);
    std::memcpy(text, iDir._Fullname, dirLength);
    text[dirLength] = zbPathSeparator[0];
    char* name = text + dirLength + 1;
    std::memcpy(name, iName, iNameLength);
    text[length] = 0;
    for (char other : {zbUnixPathSeparator[0], zbDosPathSeparator[0]})
        if (other != zbPathSeparator[0])
            for (char* p = static_cast<char*>(std::memchr(name, other, iNameLength)); p;
                 p = static_cast<char*>(
                     std::memchr(p + 1, other, iNameLength - static_cast<uint32_t>(p + 1 - name))))
                *p = zbPathSeparator[0];
    char* last = static_cast<char*>(memrchr(name, zbPathSeparator[0], iNameLength));
    _Basename = (last ? last : name - 1) + 1;
    if (iDir._WSSeparator)
        _WSSeparator = text + (iDir._WSSeparator - iDir._Fullname);
    else
    {
        // A marker may start in the directory's last two characters.
        const uint32_t from = dirLength >= 2 ? dirLength - 2 : 0;
        _WSSeparator = FindMarker(text + from, length - from);
    }
    _Fullname = text;
    _Length = length;
    return *this;
}

void zbFileName::Clear()
{
    if (_Capacity > 0)
        std::free(_Fullname);
    _Capacity = 0;
    _Fullname = nullptr;
    _Length = 0;
    _Basename = nullptr;
    _WSSeparator = nullptr;
    _Buffer[0] = 0;
}

char* zbFileName::Reserve(uint32_t iLength)
{
    if (iLength <= InlineCapacity)
    {
        if (_Capacity > 0)
            std::free(_Fullname);
        _Capacity = 0;
        return _Buffer;
    }
    if (_Capacity >= iLength)
        return _Fullname;
    if (_Capacity > 0)
        std::free(_Fullname);
    _Capacity = 0;
    char* block = static_cast<char*>(std::calloc(iLength + 1, 1));
    if (!block)
        zbInternalError("block != NULL", kSource, __LINE__, 1);
    _Capacity = iLength;
    return block;
}

void zbFileName::Assign(const char* iText, uint32_t iLength)
{
    if (iLength == 0)
    {
        Clear();
        return;
    }
    char* text = Reserve(iLength);
    std::memcpy(text, iText, iLength);
    text[iLength] = 0;
    _Fullname = text;
    _Length = iLength;
    Normalise();
}

void zbFileName::Normalise()
{
    char* text = _Fullname;
    uint32_t length = _Length;
    while (length > 1 && IsSeparator(text[length - 1]))
        --length;
    text[length] = 0;
    _Length = length;
    // The texts come from C strings: no NUL inside.  Each separator that is
    // not the path separator is replaced, then the last one is looked for.
    for (char other : {zbUnixPathSeparator[0], zbDosPathSeparator[0]})
        if (other != zbPathSeparator[0])
            for (char* p = static_cast<char*>(std::memchr(text, other, length)); p;
                 p = static_cast<char*>(std::memchr(p + 1, other, length - (p + 1 - text))))
                *p = zbPathSeparator[0];
    char* last = static_cast<char*>(memrchr(text, zbPathSeparator[0], length));
    _Basename = (!last || last == text) ? text : last + 1;
    _WSSeparator = FindMarker(text, length);
}

void zbFileName::CopyFrom(const zbFileName& iOther)
{
    _Stats = iOther._Stats;
    _BOClName = iOther._BOClName;
    if (!iOther._Fullname)
    {
        Clear();
        return;
    }
    char* text = Reserve(iOther._Length);
    std::memcpy(text, iOther._Fullname, iOther._Length + 1);
    _Fullname = text;
    _Length = iOther._Length;
    _Basename = iOther._Basename ? text + (iOther._Basename - iOther._Fullname) : nullptr;
    _WSSeparator = iOther._WSSeparator ? text + (iOther._WSSeparator - iOther._Fullname) : nullptr;
}

void zbFileName::SetText(QORString& oOut, const char* iStart, size_t iLength)
{
    oOut = QORString(iStart, iLength);
}

const char* zbFileName::GetPtrToExtend() const
{
    return _Basename ? std::strrchr(_Basename, zbExtendSeparator[0]) : nullptr;
}

const char* zbFileName::GetPtrToNameIntoWS() const
{
    return _WSSeparator ? _WSSeparator + 3 : _Fullname;
}

const char* zbFileName::GetPtrToPointnameIntoWS() const
{
    return _WSSeparator ? _WSSeparator + 1 : _Fullname;
}

QORString* zbFileName::GetWSPath(QORString& oOut) const
{
    if (!_WSSeparator)
    {
        oOut.Reset();
        return nullptr;
    }
    SetText(oOut, _Fullname, static_cast<size_t>(_WSSeparator - _Fullname));
    return &oOut;
}

QORString& zbFileName::GetDirname(QORString& oOut) const
{
    if (!_Basename)
        oOut = ".";
    else if (_Basename != _Fullname)
        SetText(oOut, _Fullname, static_cast<size_t>(_Basename - 1 - _Fullname));
    else
        oOut = _Fullname[0] == zbPathSeparator[0] ? zbPathSeparator : ".";
    return oOut;
}

zbNewString& zbFileName::GetDirname(zbNewString& oOut) const
{
    if (!_Basename)
        oOut = ".";
    else if (_Basename != _Fullname)
    {
        oOut.Reset();
        oOut.Append(_Fullname, static_cast<int>(_Basename - 1 - _Fullname));
    }
    else
        oOut = _Fullname[0] == zbPathSeparator[0] ? zbPathSeparator : ".";
    return oOut;
}

QORString& zbFileName::GetBasenameWOUnderscore(QORString& oOut) const
{
    if (!_Basename)
    {
        oOut.Reset();
        return oOut;
    }
    size_t length = std::strlen(_Basename);
    if (_Fullname[_Length - 1] == '_' && length > 0)
        --length;
    SetText(oOut, _Basename, length);
    return oOut;
}

QORString& zbFileName::GetBasenameWOExtend(QORString& oOut) const
{
    if (!_Basename)
    {
        oOut.Reset();
        return oOut;
    }
    const char* dot = GetPtrToExtend();
    SetText(oOut, _Basename, dot ? static_cast<size_t>(dot - _Basename) : std::strlen(_Basename));
    return oOut;
}

bool zbFileName::operator==(const zbFileName& iOther) const
{
    if (this == &iOther)
        return true;
    return _Length != 0 && _Length == iOther._Length &&
           std::memcmp(_Fullname, iOther._Fullname, _Length) == 0;
}

int zbFileName::CompareWithStats(const zbFileName& iOther) const
{
    if (_Stats.LastModificationTime() < 1 || !_Fullname || !iOther._Fullname)
        return 0;
    if (std::strcmp(GetPtrToNameIntoWS(), iOther.GetPtrToNameIntoWS()) != 0)
        return 0;
    return (_Stats == iOther._Stats) > 0 ? 1 : 0;
}

int zbFileName::ReadStat()
{
    if (!_Fullname)
        return 1;
    return _Stats.Read(_Fullname);
}

int zbFileName::WriteStat(const zbFileStats& iStats)
{
    if (!_Fullname)
        return 1;
    return _Stats.Write(_Fullname, iStats);
}

void zbFileName::Dump(zbOFStream& ioStream) const
{
    QORString dirname, woUnderscore, woExtend, wsPath;
    GetDirname(dirname);
    GetBasenameWOUnderscore(woUnderscore);
    GetBasenameWOExtend(woExtend);
    ioStream.Puts("# - FileName:\n");
    ioStream.Print("#   File object full pathname: [%s]\n", OrNil(_Fullname));
    ioStream.Print("#   File object basename:      [%s]\n", OrNil(_Basename));
    ioStream.Print("#   File object name intoWS:   [%s]\n", OrNil(GetPtrToNameIntoWS()));
    ioStream.Print("#   File object .%s name intoWS: [%s]\n", zbPathSeparator,
                   OrNil(GetPtrToPointnameIntoWS()));
    ioStream.Print("#   File object extension:     [%s]\n", OrNil(GetPtrToExtend()));
    ioStream.Print("#   File object class name:    [%s]\n", OrNil(_BOClName));
    ioStream.Print("#   File object dirname:       [%s]\n", OrNil(dirname));
    ioStream.Print("#   File object basename wo _: [%s]\n", OrNil(woUnderscore));
    ioStream.Print("#   File object basename wo .: [%s]\n", OrNil(woExtend));
    if (GetWSPath(wsPath))
        ioStream.Print("#   File object WS Pathname:   [%s]\n", OrNil(wsPath));
    else
        ioStream.Puts("#   File object WS Pathname:   [<nil> AsAWSPathname() == False]\n");
    _Stats.Dump(ioStream);
}

const char* zbFileName::GetBOClName(const zbMacroSet& iSet, const char* iDflt)
{
    if (_BOClName)
        return _BOClName;
    if (!_Basename)
        return nullptr;
    // From the last character down to the second: the last dot starts the
    // extension, the one before it the double extension.
    const char* single = nullptr;
    const char* twice = nullptr;
    for (const char* p = _Basename + std::strlen(_Basename) - 1; p > _Basename; --p)
        if (*p == '.')
        {
            if (!single)
                single = p;
            else
            {
                twice = p;
                break;
            }
        }
    const QORString* value = twice ? iSet.GetValue(QORString(twice)) : nullptr;
    if (!value)
        value = iSet.GetValue(QORString(single ? single : "<Nil>"));
    _BOClName = value ? value->CastToCharPtr() : iDflt;
    return _BOClName;
}
