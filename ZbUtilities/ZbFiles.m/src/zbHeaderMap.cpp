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
#include "zbStrFunctions.h"
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

zbFileName* zbHeaderMap::AddDirectory(const char* iLine, const char* iLineEnd)
{
    const char* name = iLine + 1;
    int intoFW = *name == '|';
    if (intoFW)
        ++name;
    int subdir = *name == '>';
    if (subdir)
        ++name;
    _Paths.emplace_back(std::string(name, static_cast<size_t>(iLineEnd - name)).c_str());
    zbFileName* directory = &_Paths.back();
    _ListOfPaths.Append(directory);
    if (subdir)
        _ListOfSubdirPaths.Append(directory);
    if (intoFW)
        _ListOfPathsIntoFW.Append(directory);
    return directory;
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
    const char* stop = end;
    if (ioDico && !iLowerCase)
        stop = InsertNames(line, end, *ioDico);
    else
    {
        zbFileName* current = nullptr;
        QORString key;
        for (; line < end; line = stop + 1)
        {
            stop =
                static_cast<const char*>(std::memchr(line, '\n', static_cast<size_t>(end - line)));
            if (!stop || stop == line)
                break;
            if (*line == '@')
                current = AddDirectory(line, stop);
            else if (ioDico)
            {
                key.Reset();
                key.Append(line, static_cast<size_t>(stop - line));
                key.ToLower();
                ioDico->Insert(key, current);
            }
        }
        if (!stop || line >= end)
            stop = end;
    }
    if (stop < end)
        damage = nullptr;
    if (damage)
        _DamagedLine = LineNumber(text, damage);
    std::free(buffer);
    return damage ? 2 : 0;
}

const char* zbHeaderMap::InsertNames(const char* iLine, const char* iEnd,
                                     QORHashDicSzbFileName& ioDico)
{
    // The lines are counted first so that the dictionary is sized once.
    size_t lines = 0, directories = 0;
    zbCountTwoBytes(iLine, iEnd, '\n', '@', lines, directories);
    ioDico.Reserve(lines, static_cast<size_t>(iEnd - iLine));
    // Each name is inserted a few lines after it is read: the index slot
    // and the bucket it goes to are loaded meanwhile.  The order of the
    // inserts is the file's, so the first directory holding a name wins.
    struct Pending
    {
        const char* _Name;
        size_t _Length;
        unsigned int _Hash;
        zbFileName* _Directory;
    };
    constexpr size_t Ahead = 8;
    Pending pending[Ahead];
    size_t read = 0, inserted = 0;
    zbFileName* current = nullptr;
    const char* line = iLine;
    while (line < iEnd)
    {
        const char* lineEnd =
            static_cast<const char*>(std::memchr(line, '\n', static_cast<size_t>(iEnd - line)));
        if (!lineEnd || lineEnd == line)
            break;
        if (*line == '@')
            current = AddDirectory(line, lineEnd);
        else
        {
            const size_t length = static_cast<size_t>(lineEnd - line);
            const unsigned int hash = QORHashBytes(line, length);
            ioDico.PrefetchSlot(hash);
            ioDico.PrefetchBucket(hash);
            if (read - inserted == Ahead)
            {
                const Pending& next = pending[inserted++ % Ahead];
                ioDico.InsertBytes(next._Name, next._Length, next._Hash, next._Directory);
            }
            pending[read++ % Ahead] = {line, length, hash, current};
        }
        line = lineEnd + 1;
    }
    for (; inserted < read; ++inserted)
    {
        const Pending& next = pending[inserted % Ahead];
        ioDico.InsertBytes(next._Name, next._Length, next._Hash, next._Directory);
    }
    return line;
}

void zbHeaderMap::DumpFilesList(zbOFStream& ioOut) const
{
    for (const zbFileName& path : _Paths)
        ioOut.Print("%s\n", path.GetPtrToFullname() ? path.GetPtrToFullname() : "");
    ioOut.Puts("\n");
}
