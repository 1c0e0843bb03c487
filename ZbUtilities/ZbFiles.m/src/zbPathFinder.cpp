#include "zbPathFinder.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>

#include "zbContext.h"
#include "zbDirectories.h"
#include "zbDirectory.h"
#include "zbErrorCodeManager.h"
#include "zbFileStats.h"
#include "zbHashDicoSPrintStats.h"
#include "zbHeaderMap.h"
#include "zbOFStream.h"
#include "zbPathFinderAccess.h"
#include "zbPathSeparators.h"
#include "zbReport.h"
#include "zbTraceManager.h"

namespace
{
void AppendFullnames(QORListValQORString& ioList, const QORListPtrzbFileName& iPaths)
{
    for (const zbFileName* path : iPaths)
        ioList.Append(QORString(path->GetPtrToFullname()));
}
} // namespace

zbPathFinder::zbPathFinder() : _Found(50000), _HeaderMap(nullptr), _NonCaseSensitive(0)
{
}

zbPathFinder::~zbPathFinder()
{
    if (zbExtContext._Verbose)
        PrintStats(zbStdout);
    delete _HeaderMap;
    _Directories.ApplyDelete();
}

void zbPathFinder::SetNonCaseSensitive()
{
    if (_Found.IsEmpty())
        _NonCaseSensitive = 1;
}

int zbPathFinder::_Insert(QORString& ioName, zbFileName& iDir)
{
    if (_NonCaseSensitive)
        ioName.ToLower();
    return _Found.Insert(ioName, &iDir);
}

zbFileName* zbPathFinder::_Locate(const QORString& iName)
{
    if (!_NonCaseSensitive)
        return _Found.Locate(iName);
    _Work = iName;
    _Work.ToLower();
    return _Found.Locate(_Work);
}

void zbPathFinder::SetListOfPath(const QORListValQORString& iPaths)
{
    int first = _Directories.Size() + 1;
    QORString key;
    for (const QORString& path : iPaths)
    {
        if (path.Length() == 0)
            continue;
        zbDirectory directory(path.CastToCharPtr());
        if (directory.Failed())
        {
            const int error = directory.GetError();
            if (error != ENOENT && error != ENOTDIR)
                _Unlisted += zbReportSystemError(path.CastToCharPtr(), error);
            continue;
        }
        zbFileName* dir = new zbFileName(path.CastToCharPtr());
        _Directories.Append(dir);
        _ListOfPath.Append(*dir);
        for (struct dirent64* entry = directory.FindFirstEnt(); entry;
             entry = directory.FindNextEnt())
        {
            key = entry->d_name;
            if (_Insert(key, *dir) == 1 && _NonCaseSensitive)
                AddSpelling(key, entry->d_name);
        }
        if (directory.Failed())
            _Unlisted += zbReportSystemError(path.CastToCharPtr(), directory.GetError());
    }
    int length = _FWPathname.Length();
    if (length == 0)
        return;
    QORString parent;
    for (int i = first; i <= _Directories.Size(); ++i)
    {
        _Directories[i]->GetDirname(parent);
        if (parent.Length() > length &&
            std::strncmp(parent.CastToCharPtr(), _FWPathname.CastToCharPtr(),
                         static_cast<size_t>(length)) == 0 &&
            parent.CastToCharPtr()[length] == zbPathSeparator[0])
            _ListOfPathInFW.Append(_Directories[i]);
    }
}

int zbPathFinder::SetHeaderMap(const QORString& iMapFile)
{
    if (_HeaderMap)
        return 0;
    _HeaderMap = new zbHeaderMap;
    int result = 0;
    if (!_NonCaseSensitive)
        result = _HeaderMap->InsertFile(iMapFile, &_Found, 0);
    else
    {
        // The map's names as it spells them first, then by their keys in
        // the order read: the first directory holding a name still wins,
        // and the spelling of the entry kept is known.
        QORHashDicSzbFileName spelled(1024);
        result = _HeaderMap->InsertFile(iMapFile, &spelled, 0);
        QORString key;
        spelled.ForEachStored(
            [&](const char* iName, size_t iLength, void* iDir)
            {
                key.Reset();
                key.Append(iName, iLength);
                key.ToLower();
                if (_Found.Insert(key, static_cast<zbFileName*>(iDir)) == 1)
                    AddSpelling(key, iName);
            });
    }
    zbFileName(iMapFile.CastToCharPtr()).GetDirname(_HeaderMapDir);
    _ListOfPathInFW.Append(_HeaderMap->GetListOfPathsIntoFW());
    return result;
}

zbFileName* zbPathFinder::SearchFor(const QORString& iName, zbFileName& oFile)
{
    zbFileName* dir = _Locate(iName);
    if (!dir)
    {
        oFile = iName.CastToCharPtr();
        return nullptr;
    }
    // Composed in place: no temporary text or file name.
    oFile.AssignJoined(*dir, iName.CastToCharPtr(),
                       static_cast<uint32_t>(std::strlen(iName.CastToCharPtr())));
    return &oFile;
}

void zbPathFinder::AddSpelling(const QORString& iKey, const char* iName)
{
    const size_t length = static_cast<size_t>(iKey.Length());
    if (std::memcmp(iKey.CastToCharPtr(), iName, length) == 0)
        return;
    if (!_Spellings)
        _Spellings.reset(new QORHashDicoS(1024));
    _Spellings->InsertBytes(iKey.CastToCharPtr(), length, iKey.ComputeHashKey(),
                            reinterpret_cast<void*>(_SpellingText.size() + 1));
    _SpellingText.append(iName, length);
    _SpellingText.push_back(0);
}

const char* zbPathFinder::SpellingOf(const char* iKey, size_t iLength) const
{
    if (!_Spellings)
        return iKey;
    void* place = _Spellings->LocateBytes(iKey, iLength, QORHashBytes(iKey, iLength));
    return place ? _SpellingText.data() + reinterpret_cast<size_t>(place) - 1 : iKey;
}

QORListValQORString& zbPathFinder::GetListOfPath(QORListValQORString& ioList) const
{
    for (const zbFileName& path : _ListOfPath)
        ioList.Append(QORString(path.GetPtrToFullname()));
    return ioList;
}

QORListValQORString& zbPathFinder::GetListOfPathInFW(QORListValQORString& ioList) const
{
    AppendFullnames(ioList, _ListOfPathInFW);
    return ioList;
}

QORListValQORString& zbPathFinder::GetListOfPathFromHeaderMap(QORListValQORString& ioList) const
{
    if (_HeaderMap)
        AppendFullnames(ioList, _HeaderMap->GetListOfPaths());
    return ioList;
}

QORListValQORString& zbPathFinder::GetListOfPathForMake(QORListValQORString& ioList) const
{
    AppendFullnames(ioList, _ListOfPathInFW);
    if (!_HeaderMap)
        return ioList;
    ioList.Append(_HeaderMapDir);
    if (_HeaderMap->GetListOfSubdirPaths().Size() > 0)
    {
        AppendFullnames(ioList, _HeaderMap->GetListOfSubdirPaths());
        ioList.RemoveDuplicates();
    }
    return ioList;
}

int zbPathFinder::CreateStubs(const QORListPtrzbFileName& iHeaders)
{
    if (!_HeaderMap)
        return 1;
    return CreateStubs(_HeaderMapDir, iHeaders);
}

int zbPathFinder::CreateStubs(const QORString& iStubDir, const QORListPtrzbFileName& iHeaders)
{
    if (zbCreateDirectory(iStubDir.CastToCharPtr()) != 0)
    {
        zbReportSystemError(iStubDir.CastToCharPtr(), zbExtLastError.GetErrno());
        return 1;
    }
    int result = 0;
    QORString name, stub;
    for (const zbFileName* header : iHeaders)
    {
        if (!header || !header->GetPtrToBasename())
            continue;
        name = header->GetPtrToBasename();
        zbFileName* dir = _Locate(name);
        if (!dir || _ListOfPathInFW.Locate(dir))
            continue;
        stub = iStubDir;
        stub += zbPathSeparator;
        stub += name;
        zbFileStats stats;
        if (stats.Read(stub.CastToCharPtr()) == 0 && stats.SizeInBytes() > 0)
            continue;
        zbOFStream out(stub.CastToCharPtr(), 8);
        if (!out.IsOpen() ||
            out.Print("#include \"%s%s%s\"\n\n", dir->GetPtrToFullname(), zbPathSeparator,
                      name.CastToCharPtr()) != 0 ||
            out.Close() != 0)
        {
            zbReportSystemError(stub.CastToCharPtr(), out.GetErrno());
            result = 1;
        }
    }
    return result;
}

void zbPathFinder::Dump(zbOFStream& oStream) const
{
    zbPathFinderAccess::DumpPaths(oStream, _ListOfPath);
}

void zbPathFinder::PrintStats(zbOFStream& oStream) const
{
    zbPathFinderAccess::PrintFoundStats(oStream, _Found);
}
