#include "zbHeaderMap.h"

#include <cstdlib>
#include <cstring>

#include "zbContext.h"
#include "zbErrorCodeManager.h"
#include "zbOFStream.h"
#include "zbReport.h"
#include "zbTraceManager.h"

zbHeaderMap::zbHeaderMap() = default;

zbHeaderMap::~zbHeaderMap() = default;

int zbHeaderMap::BuildFromListOfHeaderLists(const QORString& iMapFile,
                                            const QORListPtrzbHeaderListIntoWS& iLists)
{
    zbOFStream stream(iMapFile.CastToCharPtr(), 8);
    if (!stream.IsOpen())
    {
        zbReportSystemError(iMapFile.CastToCharPtr(), stream.GetErrno());
        return 1;
    }
    stream.Print("%s\n", Magic);
    int failed = 0;
    for (int i = 1; i <= iLists.Size(); ++i)
    {
        zbHeaderListIntoWS* list = iLists[i];
        if (!list || list->CatHeaderListToStream(stream) != 0)
        {
            ++failed;
            zbReportLastError(list ? list->GetListname().CastToCharPtr() : "<null>");
        }
    }
    if (stream.Close() != 0)
    {
        zbReportSystemError(iMapFile.CastToCharPtr(), stream.GetErrno());
        failed = 1;
    }
    return failed;
}

int zbHeaderMap::InsertFile(const QORString& iMapFile, QORHashDicSzbFileName* ioDico,
                            const int& iLowerCase)
{
    unsigned int size = 0;
    char* buffer = nullptr;
    const char* line = OpenListFile(iMapFile, size, buffer);
    if (!line)
        return 1;
    const char* end = buffer + size;
    zbFileName* current = nullptr;
    QORString key;
    if (*line == '@')
        while (line < end)
        {
            const char* lineEnd =
                static_cast<const char*>(std::memchr(line, '\n', static_cast<size_t>(end - line)));
            if (!lineEnd || lineEnd == line)
                break;
            size_t length = static_cast<size_t>(lineEnd - line);
            if (*line == '@')
            {
                const char* name = line + 1;
                int intoFW = *name == '|';
                if (intoFW)
                    ++name;
                int subdir = *name == '>';
                if (subdir)
                    ++name;
                _Paths.emplace_back(std::string(name, static_cast<size_t>(lineEnd - name)).c_str());
                current = &_Paths.back();
                _ListOfPaths.Append(current);
                if (subdir)
                    _ListOfSubdirPaths.Append(current);
                if (intoFW)
                    _ListOfPathsIntoFW.Append(current);
            }
            else if (ioDico)
            {
                key.Reset();
                key.Append(line, length);
                if (iLowerCase)
                    key.ToLower();
                ioDico->Insert(key, current);
            }
            line = lineEnd + 1;
        }
    std::free(buffer);
    return 0;
}

void zbHeaderMap::DumpFilesList(zbOFStream& ioOut) const
{
    for (const zbFileName& path : _Paths)
        ioOut.Print("%s\n", path.GetPtrToFullname() ? path.GetPtrToFullname() : "");
    ioOut.Puts("\n");
}
