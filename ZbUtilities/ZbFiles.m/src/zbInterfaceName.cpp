#include "zbInterfaceName.h"

#include <cstring>

#include "zbOFStream.h"
#include "zbPathSeparators.h"

const char* const zbInterfaceName::_strLevel[5] = {"UNKNOWN", "LOCAL", "PRIVATE", "PROTECTED",
                                                   "PUBLIC"};

namespace
{
struct Keyword
{
    const char* _Text;
    int _Level;
    // 1: followed by Interfaces or Generated; 0: taken as it stands.
    int _Suffixed;
    int _Generated;
};

const Keyword kKeywords[] = {
    {"Public", zbInterfaceName::Public, 1, 0},     {"Protected", zbInterfaceName::Protected, 1, 0},
    {"Private", zbInterfaceName::Private, 1, 0},   {"Local", zbInterfaceName::Local, 1, 0},
    {"V4Adaptors", zbInterfaceName::Public, 0, 0}, {"V4Generated", zbInterfaceName::Public, 0, 1},
};

// iText begins with iSuffix and the component ends right after it.
bool EndsComponentWith(const char* iText, const char* iSuffix)
{
    size_t length = std::strlen(iSuffix);
    if (std::strncmp(iText, iSuffix, length) != 0)
        return false;
    return iText[length] == 0 || iText[length] == zbPathSeparator[0];
}
} // namespace

zbInterfaceName::zbInterfaceName() : _ExposureLevel(Unknown), _Generated(0)
{
}

zbInterfaceName::zbInterfaceName(const zbInterfaceName& iOther)
    : zbFileName(iOther), _ExposureLevel(iOther._ExposureLevel), _Generated(iOther._Generated)
{
}

zbInterfaceName::zbInterfaceName(const zbFileName& iName) : zbFileName(iName)
{
    Classify();
}

zbInterfaceName::zbInterfaceName(const char* iPath) : zbFileName(iPath)
{
    Classify();
}

zbInterfaceName::~zbInterfaceName() = default;

zbInterfaceName& zbInterfaceName::operator=(const zbInterfaceName& iOther)
{
    zbFileName::operator=(iOther);
    _ExposureLevel = iOther._ExposureLevel;
    _Generated = iOther._Generated;
    return *this;
}

zbInterfaceName& zbInterfaceName::operator=(const zbFileName& iName)
{
    zbFileName::operator=(iName);
    Classify();
    return *this;
}

zbInterfaceName& zbInterfaceName::operator=(const char* iPath)
{
    zbFileName::operator=(iPath);
    Classify();
    return *this;
}

void zbInterfaceName::Classify()
{
    _ExposureLevel = Unknown;
    _Generated = 0;
    const char* path = GetPtrToFullname();
    if (!path)
        return;
    // The first keyword found at the start of a component decides; only its
    // first occurrence in the path is looked at.
    for (const Keyword& keyword : kKeywords)
    {
        const char* found = std::strstr(path, keyword._Text);
        if (!found || (found != path && found[-1] != zbPathSeparator[0]))
            continue;
        if (!keyword._Suffixed)
        {
            _ExposureLevel = keyword._Level;
            _Generated = keyword._Generated;
            return;
        }
        const char* rest = found + std::strlen(keyword._Text);
        if (EndsComponentWith(rest, "Interfaces"))
            _ExposureLevel = keyword._Level;
        else if (EndsComponentWith(rest, "Generated"))
        {
            _ExposureLevel = keyword._Level;
            _Generated = 1;
        }
        return;
    }
}

QORString* zbInterfaceName::GetFrameworkName(QORString& oOut) const
{
    const char* path = GetPtrToFullname();
    const char* marker = path ? std::strstr(path, zbWSPathSeparator) : nullptr;
    if (!marker || !marker[3])
    {
        oOut = "";
        return nullptr;
    }
    const char* start = marker + 3;
    const char* end = std::strchr(start, zbPathSeparator[0]);
    oOut = QORString(start, end ? static_cast<size_t>(end - start) : std::strlen(start));
    return &oOut;
}

int zbInterfaceName::CompareLevel(const zbInterfaceName& iOther) const
{
    if (!IsAnInterface())
        return -1;
    if (!iOther.IsAnInterface())
        return 1;
    if (_ExposureLevel == iOther._ExposureLevel)
        return 0;
    return _ExposureLevel < iOther._ExposureLevel ? -1 : 1;
}

void zbInterfaceName::Dump(zbOFStream& ioStream) const
{
    zbFileName::Dump(ioStream);
    ioStream.Puts("# - Interface name:\n");
    if (!IsAnInterface())
    {
        ioStream.Puts("#   This is NOT an interface\n");
        return;
    }
    ioStream.Print("#   Exposure level of this interfaces is: %s\n", GetExposureName());
    ioStream.Print("#   This is %s a generated interfaces\n", _Generated ? "" : " NOT");
}
