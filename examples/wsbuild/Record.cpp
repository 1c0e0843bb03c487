// The dependency block: what a run learnt, kept as a versioned block of
// the library's persistent-cache format (version 1.0.0), whose user data
// is text, one item a line:
//
//   # TEXT                a comment
//   F TIME SIZE PATH      a file and its stamp as the run saw it (time in
//                         nanoseconds, -1 when missing); the F lines come
//                         first and are numbered from 0 in order
//   M DIR                 a module; the lines up to the next M are its own
//   D N ...               its description files (Imakefile.mk, what it
//                         includes, the level file)
//   I DIR ...             its include directories, in order
//   C COMMAND             its compile command before "-c SOURCE -o OBJECT"
//   S N ...               the directories that decide where its includes are
//   O N N ...             an object, then its source and the headers it
//                         reaches
//   X N N                 an object and its source, not built (its
//                         compilation failed or never ran)
//
// A block that cannot be used is as no block: everything is looked at again.

#include <cerrno>
#include <charconv>
#include <cstring>

#include "zbErrorCodeManager.h"
#include "zbFileBufferVersioned.h"
#include "zbReport.h"
#include "wsbuild.h"

namespace
{
const unsigned int kVersion[3] = {1, 0, 0};

// A number of [ioAt, iEnd) followed by a blank or the end; ioAt moves
// past the blank.
template <class T> bool Number(const char*& ioAt, const char* iEnd, T& oValue)
{
    const auto result = std::from_chars(ioAt, iEnd, oValue);
    if (result.ec != std::errc() || (result.ptr != iEnd && *result.ptr != ' '))
        return false;
    ioAt = result.ptr == iEnd ? iEnd : result.ptr + 1;
    return true;
}

// The numbers of a line, each an index of the F lines, as file ids.
bool Indices(const char* iAt, const char* iEnd, const std::vector<int>& iIds,
             std::vector<int>& oIds)
{
    oIds.clear();
    oIds.reserve(16);
    for (size_t index = 0; iAt < iEnd;)
        if (!Number(iAt, iEnd, index) || index >= iIds.size())
            return false;
        else
            oIds.push_back(iIds[index]);
    return true;
}

// An object line (O, or X with its object and source only).
bool ObjectLine(char iTag, const char* iAt, const char* iEnd, const std::vector<int>& iIds,
                ModuleRecord& ioModule)
{
    ioModule._Objects.emplace_back();
    Object& object = ioModule._Objects.back();
    size_t index = 0;
    if (!Number(iAt, iEnd, index) || index >= iIds.size())
        return false;
    object._Object = iIds[index];
    if (!Indices(iAt, iEnd, iIds, object._Inputs) || object._Inputs.empty() ||
        (iTag == 'X' && object._Inputs.size() != 1))
        return false;
    object._Source = object._Inputs[0];
    if (iTag == 'X')
        object._Inputs.clear(), object._Build = 1;
    return true;
}

// One line [iAt, iEnd) of the text: false when it does not belong to the
// format.
bool ParseLine(const char* iAt, const char* iEnd, Files& ioFiles, std::vector<int>& ioIds,
               Record& ioRecord, ModuleRecord*& ioModule)
{
    if (iAt < iEnd && *iAt == '#')
        return true;
    if (iEnd - iAt < 2 || iAt[1] != ' ')
        return false;
    const char tag = *iAt;
    iAt += 2;
    if (tag == 'F')
    {
        Stamp stamp;
        if (!Number(iAt, iEnd, stamp._Time) || !Number(iAt, iEnd, stamp._Size) || iAt == iEnd)
            return false;
        const int id = ioFiles.Id(std::string_view(iAt, static_cast<size_t>(iEnd - iAt)));
        ioIds.push_back(id);
        if (ioRecord._Stamps.size() <= static_cast<size_t>(id))
            ioRecord._Stamps.resize(static_cast<size_t>(id) + 1, Stamp{-2, -2});
        ioRecord._Stamps[static_cast<size_t>(id)] = stamp;
        return true;
    }
    if (tag == 'M')
        return (ioModule = &ioRecord._Modules[std::string(iAt, iEnd)], true);
    if (!ioModule)
        return false;
    switch (tag)
    {
    case 'D':
        return Indices(iAt, iEnd, ioIds, ioModule->_Descriptions);
    case 'S':
        return Indices(iAt, iEnd, ioIds, ioModule->_Directories);
    case 'C':
        return (ioModule->_Command.assign(iAt, iEnd), true);
    case 'I':
        for (const char* word = iAt; word < iEnd;)
        {
            const char* blank = static_cast<const char*>(std::memchr(word, ' ', iEnd - word));
            ioModule->_Includes.emplace_back(word, blank ? blank : iEnd);
            word = blank ? blank + 1 : iEnd;
        }
        return true;
    case 'O':
    case 'X':
        return ObjectLine(tag, iAt, iEnd, ioIds, *ioModule);
    default:
        return false;
    }
}
} // namespace

bool Record::Same(int iId, Files& ioFiles) const
{
    const size_t at = static_cast<size_t>(iId);
    return at < _Stamps.size() && _Stamps[at] == ioFiles.Current(iId);
}

int ReadRecord(const std::string& iPath, Files& ioFiles, Record& oRecord)
{
    zbFileBufferVersioned block;
    if (block.ReadFromFile(iPath.c_str()) != 0)
    {
        // The first run has none; anything else is said and left behind.
        if (zbExtLastError.GetErrno() != ENOENT)
            zbReportWarningText(block.GetLastErrorMessage());
        return 1;
    }
    unsigned int version[3];
    block.GetVersion(version[0], version[1], version[2]);
    if (std::memcmp(version, kVersion, sizeof version) != 0)
        return 1;
    if (block.GetCryptLevel())
        block.DecryptBuffer();
    std::vector<int> ids;
    ModuleRecord* module = nullptr;
    const char* end = block.GetBuffer() + block.GetBufferLength();
    for (const char* line = block.GetBuffer(); line < end;)
    {
        const char* eol = static_cast<const char*>(std::memchr(line, '\n', end - line));
        if (!eol)
            eol = end;
        if (!ParseLine(line, eol, ioFiles, ids, oRecord, module))
        {
            zbReportWarningText(QORUnicodeString(
                ("zbwsbuild: " + iPath + ": not a dependency block, left aside").c_str()));
            oRecord = Record();
            return 1;
        }
        line = eol + 1;
    }
    return 0;
}

namespace
{
// The F numbers of the files the modules name, in order of first mention.
class Numbering
{
  public:
    size_t operator()(int iId)
    {
        const size_t at = static_cast<size_t>(iId);
        if (_Index.size() <= at)
            _Index.resize(at + 1, 0);
        if (!_Index[at])
        {
            _Order.push_back(iId);
            _Index[at] = _Order.size();
        }
        return _Index[at] - 1;
    }
    const std::vector<int>& Order() const { return _Order; }

  private:
    std::vector<size_t> _Index; // number + 1, 0 for none yet
    std::vector<int> _Order;
};

template <class T> void Append(std::string& ioText, T iValue)
{
    char digits[24];
    ioText.append(digits, std::to_chars(digits, digits + sizeof digits, iValue).ptr);
}

void Numbers(std::string& ioText, char iTag, const std::vector<int>& iIds, Numbering& ioNumbering)
{
    ioText += iTag;
    for (int id : iIds)
    {
        ioText += ' ';
        Append(ioText, ioNumbering(id));
    }
    ioText += '\n';
}
} // namespace

std::string RecordText(const std::vector<Module>& iModules, Files& ioFiles)
{
    Numbering numbering;
    std::string modules;
    for (const Module& module : iModules)
    {
        if (module._Broken)
            continue;
        modules += "M " + module._Dir + '\n';
        Numbers(modules, 'D', module._Descriptions, numbering);
        modules += 'I';
        for (const std::string& dir : module._Includes)
            modules += ' ' + dir;
        modules += "\nC " + module._Command + '\n';
        Numbers(modules, 'S', module._Directories, numbering);
        std::vector<int> ids;
        for (const Object& object : module._Objects)
        {
            // Objects still to build, or whose compilation failed, are not
            // vouched for.
            const bool built = object._Build != 1 && object._Build != 3;
            ids.assign({object._Object, object._Source});
            for (size_t input = 1; built && input < object._Inputs.size(); ++input)
                ids.push_back(object._Inputs[input]);
            Numbers(modules, built ? 'O' : 'X', ids, numbering);
        }
    }
    std::string text = "# zbwsbuild: what the last run learnt\n";
    for (int id : numbering.Order())
    {
        const Stamp& stamp = ioFiles.Current(id);
        text += "F ";
        Append(text, stamp._Time);
        text += ' ';
        Append(text, stamp._Size);
        text += ' ' + ioFiles.Path(id) + '\n';
    }
    return text + modules;
}

int WriteRecord(const std::string& iPath, const std::string& iText)
{
    zbFileBufferVersioned block;
    if (!block.SetBuffer(iText.data(), static_cast<unsigned int>(iText.size())))
        return zbReportText(block.GetLastErrorMessage());
    block.SetVersion(kVersion[0], kVersion[1], kVersion[2]);
    if (block.WriteToFile(iPath.c_str()) != 0)
        return zbReportText(block.GetLastErrorMessage());
    return 0;
}
