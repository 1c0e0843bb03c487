#include "zbDirectoryListing.h"

#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

#include "zbContext.h"
#include "zbDirectory.h"
#include "zbMsgManager.h"
#include "zbPatternSet.h"
#include "zbPathSeparators.h"
#include "zbReport.h"
#include "zbTraceManager.h"

zbDirectoryListing::zbDirectoryListing(const QORListValQORString& iRoots)
    : _NamePart(_Path), _Current(nullptr), _CurrentEntry(nullptr), _Roots(&iRoots), _Index(1),
      _ToVisit(iRoots), _ListedEntries(AllEntries), _ListingMode(GivenDirectoriesOnly),
      _Pattern(nullptr), _Skipped(0)
{
    _Path[0] = 0;
}

zbDirectoryListing::~zbDirectoryListing()
{
    CloseCurrent();
}

void zbDirectoryListing::CloseCurrent()
{
    delete _Current;
    _Current = nullptr;
    _CurrentEntry = nullptr;
}

void zbDirectoryListing::Rewind()
{
    CloseCurrent();
    _ToVisit = *_Roots;
    _Index = 1;
    _Walked.clear();
    _Skipped = 0;
    _Unreadable = 0;
    _Path[0] = 0;
    _NamePart = _Path;
}

bool zbDirectoryListing::Excluded(const char* iName) const
{
    return _Pattern && _Pattern->Match(iName) == 0;
}

void zbDirectoryListing::ReportTooLong(const char* iDirectory, const char* iName)
{
    ++_Skipped;
    char limit[16];
    std::snprintf(limit, sizeof limit, "%d", PathCapacity - 1);
    if (iName)
    {
        QORString path(iDirectory);
        path.Append(iName);
        zbReportWarning("zbDirectoryListing.PathTooLong",
                        {QORUnicodeString(limit), QORUnicodeString(path)});
    }
    else
        zbReportWarning("zbDirectoryListing.DirectoryTooLong",
                        {QORUnicodeString(limit), QORUnicodeString(iDirectory)});
}

bool zbDirectoryListing::OpenCurrent()
{
    const QORString& directory = _ToVisit[_Index];
    size_t length = static_cast<size_t>(directory.Length());
    if (length == 0)
        return false;
    bool hasSeparator = directory.CastToCharPtr()[length - 1] == zbPathSeparator[0];
    if (length + (hasSeparator ? 0 : 1) + 1 >= PathCapacity)
    {
        ReportTooLong(directory.CastToCharPtr(), nullptr);
        return false;
    }
    _Current = new zbDirectory(directory.CastToCharPtr());
    if (_Current->Failed() && _ReportUnreadable)
    {
        ++_Unreadable;
        zbReportLastError(directory.CastToCharPtr());
    }
    struct stat64 st;
    if (_Current->Failed() || ::fstat64(_Current->GetFd(), &st) != 0 ||
        !_Walked
             .insert({static_cast<unsigned long long>(st.st_dev),
                      static_cast<unsigned long long>(st.st_ino)})
             .second)
    {
        CloseCurrent();
        return false;
    }
    std::memcpy(_Path, directory.CastToCharPtr(), length);
    if (!hasSeparator)
        _Path[length++] = zbPathSeparator[0];
    _NamePart = _Path + length;
    *_NamePart = 0;
    return true;
}

const char* zbDirectoryListing::GetEntry()
{
    const size_t capacity = PathCapacity;
    for (;;)
    {
        if (!_Current)
        {
            if (_Index > _ToVisit.Size())
                return nullptr;
            if (!OpenCurrent())
            {
                ++_Index;
                continue;
            }
        }
        _CurrentEntry = _Current->FindNextEnt();
        if (!_CurrentEntry)
        {
            if (_Current->Failed() && _ReportUnreadable)
            {
                ++_Unreadable;
                zbReportLastError(_ToVisit[_Index].CastToCharPtr());
            }
            CloseCurrent();
            ++_Index;
            continue;
        }
        const char* name = _CurrentEntry->d_name;
        size_t nameLength = std::strlen(name);
        if (static_cast<size_t>(_NamePart - _Path) + nameLength >= capacity)
        {
            *_NamePart = 0;
            ReportTooLong(_Path, name);
            continue;
        }
        std::memcpy(_NamePart, name, nameLength + 1);

        bool isDirectory = false;
        if (_ListingMode != GivenDirectoriesOnly || _ListedEntries != AllEntries)
        {
            // The entry's type is taken from the directory when it tells it;
            // links (followed) and unknown types need the status.
            unsigned char type = _CurrentEntry->d_type;
            if (type == DT_DIR)
                isDirectory = true;
            else if (type == DT_UNKNOWN || type == DT_LNK)
            {
                struct stat64 st;
                isDirectory = ::stat64(_Path, &st) == 0 && S_ISDIR(st.st_mode);
            }
            if (isDirectory && _ListingMode == Recursive)
                _ToVisit.InsertAt(
                    _Index + 1,
                    QORString(_Path, static_cast<size_t>(_NamePart - _Path) + nameLength));
        }
        if ((_ListedEntries == DirectoriesOnly && !isDirectory) ||
            (_ListedEntries == AllButDirectories && isDirectory))
            continue;
        if (_Pattern && Excluded(name))
            continue;
        return _Path;
    }
}
