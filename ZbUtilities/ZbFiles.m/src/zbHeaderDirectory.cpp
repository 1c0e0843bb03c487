#include "zbHeaderDirectory.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>

#include "zbQORStringHash.h"
#include "zbDirectory.h"
#include "zbErrorCodeManager.h"

namespace
{
// A name that cannot stand on a line of a header-list file: it would end
// its line early or read back as a block header.
inline bool Unrepresentable(const char* iName)
{
    return iName[0] == '@' || std::strchr(iName, '\n') != nullptr;
}

inline QORString NameIntoWS(const zbFileName& iName)
{
    const char* text = iName.GetPtrToNameIntoWS();
    return QORString(text ? text : "");
}
} // namespace

zbHeaderDirectory::zbHeaderDirectory() : _IsSubdir(0), _Bufsize(0)
{
}

zbHeaderDirectory::~zbHeaderDirectory() = default;

int zbHeaderDirectory::_QuickSortOfQORString(const QORString* iA, const QORString* iB)
{
    return zbQORStringOrder(iA, iB);
}

int zbHeaderDirectory::ListDirectory(const QORString& iDir, const int iIsSubdir)
{
    _Bufsize = 0;
    _Entries.RemoveAll();
    _Dirname = iDir.CastToCharPtr();
    _NameIntoWS = NameIntoWS(_Dirname);
    _IsSubdir = iIsSubdir ? 1 : 0;

    zbDirectory directory(iDir.CastToCharPtr());
    if (directory.Failed() || std::strchr(_NameIntoWS.CastToCharPtr(), '\n'))
    {
        if (!directory.Failed())
            zbExtLastError.SetErrno(EINVAL);
        _Dirname = "";
        _NameIntoWS = "";
        _IsSubdir = 0;
        return 0;
    }
    _Bufsize = _IsSubdir + 1 + _NameIntoWS.Length() + 1;
    for (struct dirent64* entry = directory.FindFirstEnt(); entry; entry = directory.FindNextEnt())
    {
        if (Unrepresentable(entry->d_name))
            continue;
        size_t length = std::strlen(entry->d_name);
        _Entries.Append(QORString(entry->d_name, length));
        _Bufsize += static_cast<int>(length) + 1;
    }
    if (directory.Failed())
    {
        // Listed only in part: as unlistable as one that cannot be opened.
        _Entries.RemoveAll();
        _Bufsize = 0;
        _Dirname = "";
        _NameIntoWS = "";
        _IsSubdir = 0;
        return 0;
    }
    _Entries.QuickSort(_QuickSortOfQORString);
    return _Bufsize;
}

int zbHeaderDirectory::Writebuf(char* iBuf) const
{
    if (!iBuf || _Bufsize == 0)
        return _Bufsize;
    char* p = iBuf;
    *p++ = '@';
    if (_IsSubdir)
        *p++ = '>';
    std::memcpy(p, _NameIntoWS.CastToCharPtr(), static_cast<size_t>(_NameIntoWS.Length()));
    p += _NameIntoWS.Length();
    *p++ = '\n';
    for (const QORString& entry : _Entries)
    {
        std::memcpy(p, entry.CastToCharPtr(), static_cast<size_t>(entry.Length()));
        p += entry.Length();
        *p++ = '\n';
    }
    *p = 0;
    return static_cast<int>(p - iBuf);
}

int zbHeaderDirectory::Readbuf(char* ioBuf)
{
    _Bufsize = 0;
    _IsSubdir = 0;
    _Entries.RemoveAll();
    if (!ioBuf)
        return 0;
    char* lineEnd = std::strchr(ioBuf, '\n');
    if (!lineEnd || ioBuf[0] != '@')
    {
        _Dirname = "";
        _NameIntoWS = "";
        return 0;
    }
    *lineEnd = 0;
    char* name = ioBuf + 1;
    _Bufsize = 1;
    if (*name == '>')
    {
        _IsSubdir = 1;
        ++name;
        _Bufsize = 2;
    }
    _Dirname = name;
    _NameIntoWS = NameIntoWS(_Dirname);
    _Bufsize += static_cast<int>(lineEnd - name) + 1;

    char* line = lineEnd + 1;
    while (*line && *line != '@')
    {
        lineEnd = std::strchr(line, '\n');
        if (!lineEnd)
            break;
        *lineEnd = 0;
        _Entries.Append(QORString(line, static_cast<size_t>(lineEnd - line)));
        _Bufsize += static_cast<int>(lineEnd - line) + 1;
        line = lineEnd + 1;
    }
    return _Bufsize;
}

bool zbHeaderDirectory::operator==(const zbHeaderDirectory& iOther) const
{
    return _IsSubdir == iOther._IsSubdir && _NameIntoWS == iOther._NameIntoWS &&
           _Entries == iOther._Entries;
}
