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
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "zbErrorCodeManager.h"
#include "zbFileBufferVersioned.h"
#include "zbReport.h"
#include "wsbuild.h"

namespace
{
const unsigned int kVersion[3] = {1, 0, 0};

// Numbers of a line after its tag, each an index of the F lines.
bool Indices(const char* iText, const std::vector<int>& iIds, std::vector<int>& oIds)
{
    oIds.clear();
    for (const char* at = iText; *at;)
    {
        char* end = nullptr;
        const long index = std::strtol(at, &end, 10);
        if (end == at || index < 0 || static_cast<size_t>(index) >= iIds.size())
            return false;
        oIds.push_back(iIds[static_cast<size_t>(index)]);
        at = end;
        while (*at == ' ')
            ++at;
    }
    return true;
}

// One line of the text: false when it does not belong to the format.
bool ParseLine(const std::string& iLine, Files& ioFiles, std::vector<int>& ioIds, Record& ioRecord,
               ModuleRecord*& ioModule)
{
    if (!iLine.empty() && iLine[0] == '#')
        return true;
    if (iLine.size() < 2 || iLine[1] != ' ')
        return false;
    const char* text = iLine.c_str() + 2;
    const char tag = iLine[0];
    if (tag == 'F')
    {
        Stamp stamp;
        char* end = nullptr;
        stamp._Time = std::strtoll(text, &end, 10);
        if (*end != ' ')
            return false;
        stamp._Size = std::strtoll(end + 1, &end, 10);
        if (*end != ' ' || !end[1])
            return false;
        const int id = ioFiles.Id(end + 1);
        ioIds.push_back(id);
        ioRecord._Stamps[id] = stamp;
        return true;
    }
    if (tag == 'M')
        return (ioModule = &ioRecord._Modules[text], true);
    if (!ioModule)
        return false;
    std::vector<int> ids;
    switch (tag)
    {
    case 'D':
        return Indices(text, ioIds, ioModule->_Descriptions);
    case 'S':
        return Indices(text, ioIds, ioModule->_Directories);
    case 'C':
        return (ioModule->_Command = text, true);
    case 'I':
    {
        std::istringstream words(text);
        for (std::string word; words >> word;)
            ioModule->_Includes.push_back(word);
        return true;
    }
    case 'O':
    case 'X':
        if (!Indices(text, ioIds, ids) || ids.size() < 2 || (tag == 'X' && ids.size() != 2))
            return false;
        ioModule->_Objects.emplace_back();
        ioModule->_Objects.back()._Object = ids[0];
        ioModule->_Objects.back()._Source = ids[1];
        if (tag == 'O')
            ioModule->_Objects.back()._Inputs.assign(ids.begin() + 1, ids.end());
        else
            ioModule->_Objects.back()._Build = 1;
        return true;
    default:
        return false;
    }
}
} // namespace

int ReadRecord(const std::string& iPath, Files& ioFiles, Record& oRecord, std::string& oText)
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
    oText.assign(block.GetBuffer(), block.GetBufferLength());
    std::vector<int> ids;
    ModuleRecord* module = nullptr;
    std::istringstream lines(oText);
    for (std::string line; std::getline(lines, line);)
        if (!ParseLine(line, ioFiles, ids, oRecord, module))
        {
            zbReportWarningText(QORUnicodeString(
                ("zbwsbuild: " + iPath + ": not a dependency block, left aside").c_str()));
            oRecord = Record();
            oText.clear();
            return 1;
        }
    return 0;
}

namespace
{
// The F numbers of the files the modules name, in order of first mention.
class Numbering
{
  public:
    int operator()(int iId)
    {
        auto found = _Index.emplace(iId, static_cast<int>(_Order.size()));
        if (found.second)
            _Order.push_back(iId);
        return found.first->second;
    }
    const std::vector<int>& Order() const { return _Order; }

  private:
    std::unordered_map<int, int> _Index;
    std::vector<int> _Order;
};

void Numbers(std::ostringstream& ioOut, char iTag, const std::vector<int>& iIds,
             Numbering& ioNumbering)
{
    ioOut << iTag;
    for (int id : iIds)
        ioOut << ' ' << ioNumbering(id);
    ioOut << '\n';
}
} // namespace

std::string RecordText(const std::vector<Module>& iModules, Files& ioFiles)
{
    Numbering numbering;
    std::ostringstream modules;
    for (const Module& module : iModules)
    {
        if (module._Broken)
            continue;
        modules << "M " << module._Dir << '\n';
        Numbers(modules, 'D', module._Descriptions, numbering);
        modules << 'I';
        for (const std::string& dir : module._Includes)
            modules << ' ' << dir;
        modules << "\nC " << module._Command << '\n';
        Numbers(modules, 'S', module._Directories, numbering);
        for (const Object& object : module._Objects)
        {
            // Objects still to build, or whose compilation failed, are not
            // vouched for.
            const bool built = object._Build != 1 && object._Build != 3;
            std::vector<int> ids{object._Object, object._Source};
            for (size_t input = 1; built && input < object._Inputs.size(); ++input)
                ids.push_back(object._Inputs[input]);
            Numbers(modules, built ? 'O' : 'X', ids, numbering);
        }
    }
    std::ostringstream text;
    text << "# zbwsbuild: what the last run learnt\n";
    for (int id : numbering.Order())
    {
        const Stamp& stamp = ioFiles.Current(id);
        text << "F " << stamp._Time << ' ' << stamp._Size << ' ' << ioFiles.Path(id) << '\n';
    }
    return text.str() + modules.str();
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
