#include "zbHeaderMap.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "zbContext.h"
#include "zbDescriptor.h"
#include "zbErrorCodeManager.h"
#include "zbOFStream.h"
#include "zbReport.h"
#include "zbTraceManager.h"

zbHeaderMap::zbHeaderMap() = default;

zbHeaderMap::~zbHeaderMap() = default;

int zbHeaderMap::BuildFromListOfHeaderLists(const QORString& iMapFile,
                                            const QORListPtrzbHeaderListIntoWS& iLists)
{
    // The map is gathered in memory and takes the place of the file once
    // complete: a failure to write names the map, never a list.
    const char* name = iMapFile.CastToCharPtr();
    zbFileReplacer out(name, 0666);
    if (int error = out.Open())
        return zbReportSystemError(name, error);
    char* text = nullptr;
    size_t length = 0;
    FILE* memory = ::open_memstream(&text, &length);
    if (!memory)
        return zbReportSystemError(name, errno);
    int failed = 0;
    {
        zbOFStream stream(memory);
        stream.Print("%s\n", Magic);
        for (zbHeaderListIntoWS* list : iLists)
        {
            if (!list)
            {
                failed += zbReportSystemError("<null>", EINVAL);
                continue;
            }
            const char* listName = list->GetListname().CastToCharPtr();
            switch (list->CatHeaderListToStream(stream))
            {
            case zbHeaderListIntoWS::CatDone:
                break;
            case zbHeaderListIntoWS::CatUnreadable:
                failed += zbReportLastError(listName);
                break;
            case zbHeaderListIntoWS::CatNotAList:
                failed += zbReportMessage("zbHeaderList.NotAList", {QORUnicodeString(listName)});
                break;
            case zbHeaderListIntoWS::CatDamaged:
            {
                char line[16];
                std::snprintf(line, sizeof line, "%d", list->GetDamagedLine());
                failed += zbReportMessage("zbHeaderList.Damaged",
                                          {QORUnicodeString(listName), QORUnicodeString(line)});
                break;
            }
            default:
                // The text goes to memory first: a refusal is the map's.
                failed += zbReportLastError(name);
                break;
            }
        }
    }
    int error = std::fclose(memory) == 0 ? 0 : errno;
    if (!error)
        out.Write(text, length);
    std::free(text);
    if (!error)
        error = out.Commit();
    if (error)
    {
        zbReportSystemError(name, error);
        failed = 1;
    }
    return failed;
}

int zbHeaderMap::InsertFile(const QORString& iMapFile, QORHashDicSzbFileName* ioDico,
                            const int& iLowerCase)
{
    unsigned int size = 0;
    char* buffer = nullptr;
    _DamagedLine = 0;
    const char* line = OpenListFile(iMapFile, size, buffer);
    if (!line)
        return 1;
    // Loading stops at the first empty line; damage before it is reported,
    // the entries before the damage kept.
    const char* const text = line;
    const char* damage = FindDamage(line, buffer + size);
    const char* end = damage ? damage : buffer + size;
    zbFileName* current = nullptr;
    QORString key;
    while (line < end)
    {
        const char* lineEnd =
            static_cast<const char*>(std::memchr(line, '\n', static_cast<size_t>(end - line)));
        size_t length = static_cast<size_t>(lineEnd - line);
        if (length == 0)
        {
            damage = nullptr;
            break;
        }
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
        else if (ioDico && !iLowerCase)
            ioDico->InsertBytes(line, length, QORHashBytes(line, length), current);
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
    if (damage)
        _DamagedLine = LineNumber(text, damage);
    std::free(buffer);
    return damage ? 2 : 0;
}

void zbHeaderMap::DumpFilesList(zbOFStream& ioOut) const
{
    for (const zbFileName& path : _Paths)
        ioOut.Print("%s\n", path.GetPtrToFullname() ? path.GetPtrToFullname() : "");
    ioOut.Puts("\n");
}
