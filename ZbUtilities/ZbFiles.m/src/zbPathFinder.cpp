#include "zbPathFinder.h"

#include <dirent.h>

#include "zbContext.h"
#include "zbHashDicoSPrintStats.h"
#include "zbOFStream.h"

zbPathFinder::zbPathFinder() : _Found(50000), _NonCaseSensitive(0)
{
}

zbPathFinder::~zbPathFinder()
{
    if (zbExtContext._Verbose)
        PrintStats(zbStdout);
    _Directories.ApplyDelete();
}

void zbPathFinder::SetNonCaseSensitive()
{
    if (_Found.IsEmpty())
        _NonCaseSensitive = 1;
}

int zbPathFinder::_Insert(QORString& ioName, zbPathFinderFileName& iDir)
{
    if (_NonCaseSensitive)
        ioName.ToLower();
    return _Found.Insert(ioName, &iDir);
}

zbPathFinderFileName* zbPathFinder::_Locate(const QORString& iName)
{
    if (!_NonCaseSensitive)
        return _Found.Locate(iName);
    _Work = iName;
    _Work.ToLower();
    return _Found.Locate(_Work);
}

void zbPathFinder::SetListOfPath(const QORListValQORString& iPaths)
{
    for (const QORString& path : iPaths)
    {
        DIR* dir = path.Length() ? opendir(path.CastToCharPtr()) : nullptr;
        if (!dir)
            continue;
        zbPathFinderFileName* directory = new zbPathFinderFileName(path);
        _Directories.Append(directory);
        _ListOfPath.Append(path);
        while (struct dirent64* entry = readdir64(dir))
        {
            const char* name = entry->d_name;
            if (name[0] == '.' && (!name[1] || (name[1] == '.' && !name[2])))
                continue;
            QORString key(name);
            _Insert(key, *directory);
        }
        closedir(dir);
    }
}

zbPathFinderFileName* zbPathFinder::SearchFor(const QORString& iName, zbPathFinderFileName& oFile)
{
    zbPathFinderFileName* dir = _Locate(iName);
    if (!dir)
    {
        oFile = iName;
        return nullptr;
    }
    oFile = *dir;
    if (oFile.Length() && oFile.CastToCharPtr()[oFile.Length() - 1] != '/')
        oFile += '/';
    oFile += iName;
    return &oFile;
}

QORListValQORString& zbPathFinder::GetListOfPath(QORListValQORString& ioList) const
{
    for (const zbPathFinderFileName& path : _ListOfPath)
        ioList.Append(path);
    return ioList;
}

void zbPathFinder::Dump(zbOFStream& oStream) const
{
    oStream.Print("#  List of searched path:\n");
    for (const zbPathFinderFileName& path : _ListOfPath)
        oStream.Print("#   [%s]\n", path.CastToCharPtr());
}

void zbPathFinder::PrintStats(zbOFStream& oStream) const
{
    oStream << "\n## zbPathFinder: Statistics of Found dictionary:\n";
    zbHashDicoSPrintStats(_Found, "zbFileName", oStream);
}
