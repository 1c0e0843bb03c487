#include "zbMDFV4.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "zbContext.h"
#include "zbErrorCodeManager.h"
#include "zbFileOperations.h"
#include "zbHashDicoSPrintStats.h"
#include "zbOFStream.h"
#include "zbReport.h"

namespace
{
inline bool IsBlank(char iChar)
{
    return iChar == ' ' || iChar == '\t';
}

// The first character of the line at iLine that is not a blank or a tab.
inline char* SkipBlanks(char* iLine, const char* iEnd)
{
    while (iLine < iEnd && IsBlank(*iLine))
        ++iLine;
    return iLine;
}

// The end of the line at iLine: its newline, or iEnd.
inline char* LineEnd(char* iLine, char* iEnd)
{
    char* newline = static_cast<char*>(std::memchr(iLine, '\n', static_cast<size_t>(iEnd - iLine)));
    return newline ? newline : iEnd;
}
} // namespace

zbMDFV4::zbMDFV4(const unsigned int iBuckets)
    : QORHashDicSzbMDFV4Section(iBuckets > INT_MAX ? INT_MAX : static_cast<int>(iBuckets)),
      _Lines(nullptr), _NbLinesMax(0), _NbLines(0), _Buffer(nullptr), _BufferLength(0),
      _EmptySection(nullptr, -1, -2)
{
}

zbMDFV4::~zbMDFV4()
{
    if (zbExtContext._Verbose)
        PrintStats(zbStdout);
    _Clear();
}

void zbMDFV4::_Clear()
{
    ApplyDelete();
    std::free(_Lines);
    _Lines = nullptr;
    _NbLinesMax = _NbLines = 0;
    std::free(_Buffer);
    _Buffer = nullptr;
    _BufferLength = 0;
}

int zbMDFV4::InsertFile(const char* iFileName)
{
    _Clear();
    if (!iFileName)
        return 1;
    if (zbMMap(iFileName, 8, _Buffer, _BufferLength, '\n'))
        return zbReportLastError(iFileName);
    if (!_Buffer || !_BufferLength)
        return 1;
    int result = _Parse(iFileName);
    if (IsEmpty() && result)
        _Clear();
    return result;
}

int zbMDFV4::_Parse(const char* iFileName)
{
    char* const end = _Buffer + _BufferLength;

    // Reading starts at the first header: the first line whose first
    // character after blanks and tabs is '*'.
    char* start = nullptr;
    for (char* line = _Buffer; line < end && !start; line = LineEnd(line, end) + 1)
    {
        char* first = SkipBlanks(line, end);
        if (first < end && *first == '*')
            start = first;
    }
    if (!start)
        return 1;

    // One entry per line from there on: the header lines take none, so the
    // entry after the last value line stays null.
    unsigned long long lines = 1;
    for (const char* p = start;
         (p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)))); ++p)
        ++lines;
    if (lines > INT_MAX)
        return zbReportSystemError(iFileName, EFBIG);
    _Lines = static_cast<const char**>(std::calloc(static_cast<size_t>(lines), sizeof(char*)));
    if (!_Lines)
        return zbReportSystemError(iFileName, ENOMEM);
    _NbLinesMax = static_cast<unsigned int>(lines);

    int duplicates = 0;
    bool inSection = false;
    unsigned int first = 0;
    QORString key;
    for (char* line = start; line < end;)
    {
        char* stop = LineEnd(line, end);
        char* next = stop + 1;
        line = SkipBlanks(line, stop);
        // A '/' starts a comment; a NUL byte ends the line as well, since
        // the values are handed out as C strings.
        if (char* slash =
                static_cast<char*>(std::memchr(line, '/', static_cast<size_t>(stop - line))))
            stop = slash;
        stop = line + strnlen(line, static_cast<size_t>(stop - line));
        *stop = '\0';
        if (line == stop)
        {
            line = next;
            continue;
        }
        if (*line == '*')
        {
            if (inSection)
                _CloseSection(iFileName, key, first, duplicates);
            char* name = SkipBlanks(line + 1, stop);
            char* nameEnd = name;
            while (nameEnd < stop && !IsBlank(*nameEnd))
                ++nameEnd;
            std::string text(1, '*');
            text.append(name, static_cast<size_t>(nameEnd - name));
            key = QORString(text.c_str(), text.size());
            inSection = true;
            first = _NbLines;
        }
        else
            _Lines[_NbLines++] = line;
        line = next;
    }
    if (inSection)
        _CloseSection(iFileName, key, first, duplicates);
    return duplicates;
}

void zbMDFV4::_CloseSection(const char* iFileName, const QORString& iKey, unsigned int iFirst,
                            int& ioDuplicates)
{
    if (_NbLines == iFirst)
        return;
    zbMDFV4Section* section =
        new zbMDFV4Section(_Lines, static_cast<int>(iFirst), static_cast<int>(_NbLines - 1));
    if (Insert(iKey, section) == 1)
        return;
    delete section;
    ++ioDuplicates;
    zbReportMessage("V4.MDF.DuplicateSection",
                    {QORUnicodeString(iFileName), QORUnicodeString(iKey)});
}

const zbMDFV4Section& zbMDFV4::Locate(const QORString& iName) const
{
    const zbMDFV4Section* section = QORHashDicSzbMDFV4Section::Locate(iName);
    return section ? *section : _EmptySection;
}

int zbMDFV4::GetListOfValues(const QORString& iName, QORListValQORString& ioList) const
{
    const zbMDFV4Section* section = QORHashDicSzbMDFV4Section::Locate(iName);
    return section ? section->GetListOfValues(ioList) : 0;
}

int zbMDFV4::Remove(const QORString& iName)
{
    zbMDFV4Section* section = QORHashDicSzbMDFV4Section::Remove(iName);
    if (!section)
        return 0;
    delete section;
    return 1;
}

const zbMDFV4Section* zbMDFV4::Next(const QORString*& ioCursor, QORString& oName) const
{
    int bucket = 1, position = 0;
    if (ioCursor)
    {
        // After an absent name, continue with the buckets after its own.
        if (!LocatePosition(*ioCursor, bucket, position))
            ++bucket, position = 0;
    }
    const zbMDFV4Section* section = QORHashDicSzbMDFV4Section::Next(bucket, position, &oName);
    ioCursor = section ? &oName : nullptr;
    return section;
}

void zbMDFV4::StripSpaces()
{
    for (unsigned int i = 0; i < _NbLines; ++i)
    {
        char* line = const_cast<char*>(_Lines[i]);
        line[std::strcspn(line, " \t")] = '\0';
    }
}

void zbMDFV4::Dump(zbOFStream& oStream) const
{
    if (IsEmpty())
        return;
    oStream << "#\n# Set of Section\n";
    int bucket = 1, position = 0;
    QORString name;
    while (const zbMDFV4Section* section = QORHashDicSzbMDFV4Section::Next(bucket, position, &name))
    {
        oStream << "# Section named [" << name.CastToCharPtr() << "]" << endl;
        section->Dump(oStream);
    }
    oStream << "\n";
    oStream.Flush();
}

void zbMDFV4::PrintStats(zbOFStream& oStream) const
{
    oStream << "\n## zbMDFV4: Statistics of values dictionary:\n";
    zbHashDicoSPrintStats(*this, oStream);
}
