// zbFileBuffer: include expansion.  A file is preprocessed completely
// before its includes are expanded, so its conditions see the macros
// defined before it and in itself; macros defined by included files are
// visible to the files processed after them.

#include <cstdlib>
#include <cstring>
#include <vector>

#include "zbContext.h"
#include "zbErrorCodeManager.h"
#include "zbFileBuffer.h"
#include "zbFileOperations.h"
#include "zbMacroSet.h"
#include "zbPP.h"
#include "zbPPMacLev.h"
#include "zbPathFinderAccess.h"
#include "zbReport.h"
#include "zbTraceManager.h"

namespace
{
// Files nested deeper than this are refused.
constexpr unsigned int zbMaxIncludeDepth = 50;

// One #include of a buffer: where the directive is, and what replaces it.
struct zbIncludeRecord
{
    size_t _Position; // of the '#'
    size_t _Length;   // from the '#' to the closing '"' or '>' inclusive
    zbFileBuffer _Content;
    zbFileName _File;
};

inline bool zbIsBlank(char iChar)
{
    return iChar == ' ' || iChar == '\t';
}

// Recognises #include "name" or #include <name> at ioCursor (a '#').  On
// success sets the name and the end of the directive (after the closing
// character) and returns true.
bool zbParseInclude(const char* iCursor, const char*& oName, size_t& oNameLength, const char*& oEnd)
{
    const char* p = iCursor + 1;
    while (zbIsBlank(*p))
        ++p;
    if (std::strncmp(p, "include", 7) != 0)
        return false;
    p += 7;
    while (zbIsBlank(*p))
        ++p;
    if (*p != '"' && *p != '<')
        return false;
    const char* name = ++p;
    while (*p && *p != '"' && *p != '>' && *p != '\n')
        ++p;
    // A name that does not close on its line is no include.
    if (*p != '"' && *p != '>')
        return false;
    oName = name;
    oNameLength = static_cast<size_t>(p - name);
    oEnd = p + 1;
    return true;
}

int zbIncludeOnce()
{
    static const int once = std::getenv("ZBZB_FBINCLUDEONCE") != nullptr ? 1 : 0;
    return once;
}

// Whether iFileName is refused: 0 when it is not, -1 when it was before,
// 1 when it is nested too deep (reported, and refused from now on).
int zbRefusal(const QORString& iFileName, const char* iIncludingFileName, unsigned int iDepth,
              QORHashDicoS& ioRefusedFiles)
{
    if (ioRefusedFiles.Locate(iFileName))
        return -1;
    if (iDepth < zbMaxIncludeDepth)
        return 0;
    ioRefusedFiles.Insert(iFileName, &ioRefusedFiles);
    zbReportMessage("errPPincrecursive",
                    {iFileName.CastToCharPtr(), iIncludingFileName ? iIncludingFileName : ""});
    return 1;
}

// The text iBuffer (iLength characters) with each include directive of
// iRecords replaced by its file's expanded content; oLength its length.
// Null when the result is empty (or memory is short).
char* zbSplice(const char* iBuffer, size_t iLength, const std::vector<zbIncludeRecord*>& iRecords,
               size_t& oLength)
{
    size_t length = iLength;
    for (const zbIncludeRecord* record : iRecords)
    {
        length += record->_Content.GetBufferLength();
        length -= record->_Length;
    }
    oLength = length;
    char* text = length ? static_cast<char*>(std::malloc(length + 1)) : nullptr;
    if (!text)
        return nullptr;
    char* out = text;
    size_t from = 0;
    for (const zbIncludeRecord* record : iRecords)
    {
        std::memcpy(out, iBuffer + from, record->_Position - from);
        out += record->_Position - from;
        const size_t contentLength = record->_Content.GetBufferLength();
        if (contentLength)
            std::memcpy(out, record->_Content.GetBuffer(), contentLength);
        out += contentLength;
        from = record->_Position + record->_Length;
    }
    std::memcpy(out, iBuffer + from, iLength - from);
    out += iLength - from;
    *out = 0;
    return text;
}
} // namespace

int zbFileBuffer::ExpandBuffer(const zbPPMacLev& iLevels, zbPathFinderAccess& iFinder,
                               QORListValzbFileName& ioIncluded, const char* iFileName)
{
    zbMacroSet macros(500);
    QORHashDicoS includedFiles(10);
    QORHashDicoS refusedFiles(10);
    unsigned int depth = 0;
    int errors =
        _ExpandBuffer(iLevels, macros, iFinder, includedFiles, iFileName, "", depth, refusedFiles);
    for (const auto& entry : includedFiles)
        ioIncluded.Append(zbFileName(entry._Key.CastToCharPtr()));
    return errors;
}

int zbFileBuffer::_ExpandFile(const char* iPath, int iOpenMode, const zbPPMacLev& iLevels,
                              zbMacroSet& ioMacros, zbPathFinderAccess& iFinder,
                              QORHashDicoS& ioIncludedFiles, const char* iIncludingFileName,
                              unsigned int& ioDepth, QORHashDicoS& ioRefusedFiles)
{
    char* content = nullptr;
    unsigned int length = 0;
    if (zbMMap(iPath, iOpenMode, content, length, 0) != 0)
    {
        zbReportLastError(iPath);
        std::free(content);
        return 1;
    }
    _Buffer = content;
    _Length = content ? length : 0;
    _OpenMode = iOpenMode;
    return _ExpandBuffer(iLevels, ioMacros, iFinder, ioIncludedFiles, iPath, iIncludingFileName,
                         ioDepth, ioRefusedFiles);
}

int zbFileBuffer::_ExpandBuffer(const zbPPMacLev& iLevels, zbMacroSet& ioMacros,
                                zbPathFinderAccess& iFinder, QORHashDicoS& ioIncludedFiles,
                                const char* iFileName, const char* iIncludingFileName,
                                unsigned int& ioDepth, QORHashDicoS& ioRefusedFiles)
{
    const int once = zbIncludeOnce();
    const QORString fileName(iFileName ? iFileName : "");
    if (!_Buffer || _Length == 0)
        return 0;
    // A refused file is never spliced in, not even unpreprocessed.
    if (int refusal = zbRefusal(fileName, iIncludingFileName, ioDepth, ioRefusedFiles))
    {
        Release();
        return refusal > 0 ? 1 : 0;
    }
    if (int status = zbPP(iLevels, ioMacros, _Buffer, iFileName, 1))
    {
        _Length = 0;
        return status;
    }
    _Length = static_cast<unsigned int>(std::strlen(_Buffer));
    ++ioDepth;

    int errors = 0;
    std::vector<zbIncludeRecord*> records;
    for (const char* cursor = std::strchr(_Buffer, '#'); cursor; cursor = std::strchr(cursor, '#'))
    {
        const char* name;
        size_t nameLength;
        const char* end;
        if (!zbParseInclude(cursor, name, nameLength, end))
        {
            ++cursor;
            continue;
        }
        const QORString includeName(name, nameLength);
        zbFileName found;
        if (!iFinder.SearchFor(includeName, found))
        {
            zbReportMessage("errPPincnotfound",
                            {fileName.CastToCharPtr(), includeName.CastToCharPtr()});
            ++errors;
        }
        else
        {
            zbIncludeRecord* record = new zbIncludeRecord{static_cast<size_t>(cursor - _Buffer),
                                                          static_cast<size_t>(end - cursor),
                                                          {},
                                                          found};
            records.push_back(record);
            const QORString fullName(found.GetPtrToFullname());
            // The dictionaries hold names only: the value is the dictionary itself,
            // never null, so that iterations see every name.
            int seen = !ioIncludedFiles.Insert(fullName, &ioIncludedFiles);
            if (!(once && seen))
                errors += record->_Content._ExpandFile(fullName.CastToCharPtr(), _OpenMode, iLevels,
                                                       ioMacros, iFinder, ioIncludedFiles,
                                                       iFileName, ioDepth, ioRefusedFiles);
        }
        // Go on after the end of the directive's line; a directive on the
        // last line ends the scan.
        cursor = std::strchr(end, '\n');
        if (!cursor)
            break;
    }
    if (ioDepth > 0)
        --ioDepth;

    if (!records.empty())
    {
        size_t length;
        char* text = zbSplice(_Buffer, _Length, records, length);
        std::free(_Buffer);
        _Buffer = text;
        _Length = text ? static_cast<unsigned int>(length) : 0;
        for (zbIncludeRecord* record : records)
            delete record;
    }
    return errors;
}
