#include "zbPathFinderAccess.h"

#include <unistd.h>

#include "zbHashDicoSPrintStats.h"
#include "zbOFStream.h"
#include "zbPathSeparators.h"

zbPathFinderAccess::zbPathFinderAccess() : _NotFound(1000), _Found(1000)
{
}

zbPathFinderAccess::~zbPathFinderAccess()
{
    _Directories.ApplyDelete();
}

void zbPathFinderAccess::SetListOfPath(const QORListValQORString& iPaths)
{
    for (const QORString& path : iPaths)
        if (path.Length() > 0 && ::access(path.CastToCharPtr(), F_OK) == 0)
        {
            _ListOfPath.Append(zbFileName(path.CastToCharPtr()));
            _Directories.Append(new zbFileName(path.CastToCharPtr()));
        }
}

QORListValQORString& zbPathFinderAccess::GetListOfPath(QORListValQORString& ioList) const
{
    for (const zbFileName& path : _ListOfPath)
        ioList.Append(QORString(path.GetPtrToFullname()));
    return ioList;
}

int zbPathFinderAccess::SearchFor(const QORString& iName, zbFileName& oFile)
{
    if (zbFileName* directory = _Found.Locate(iName))
    {
        oFile = zbFileName(directory->GetPtrToFullname(), iName.CastToCharPtr(), nullptr);
        return 1;
    }
    if (iName.Length() > 0)
    {
        QORString candidate;
        for (zbFileName* directory : _Directories)
        {
            candidate = directory->GetPtrToFullname();
            candidate += zbPathSeparator;
            candidate += iName;
            if (::access(candidate.CastToCharPtr(), F_OK) == 0)
            {
                _Found.Insert(iName, directory);
                oFile = zbFileName(directory->GetPtrToFullname(), iName.CastToCharPtr(), nullptr);
                return 1;
            }
        }
    }
    _NotFound.Insert(iName, nullptr);
    oFile = iName.CastToCharPtr();
    return 0;
}

void zbPathFinderAccess::DumpPaths(zbOFStream& ioStream, const QORListValzbFileName& iPaths)
{
    ioStream.Puts("#  List of searched path:\n");
    for (const zbFileName& path : iPaths)
        ioStream.Print("#   [%s]\n", path.GetPtrToFullname());
}

void zbPathFinderAccess::PrintFoundStats(zbOFStream& ioStream, const QORHashDicSzbFileName& iFound)
{
    ioStream.Puts("\n## zbPathFinder: Statistics of Found dictionary:\n");
    zbHashDicoSPrintStats(iFound, "zbFileName", ioStream);
}

void zbPathFinderAccess::Dump(zbOFStream& ioStream) const
{
    DumpPaths(ioStream, _ListOfPath);
}

void zbPathFinderAccess::PrintStats(zbOFStream& ioStream) const
{
    PrintFoundStats(ioStream, _Found);
}
