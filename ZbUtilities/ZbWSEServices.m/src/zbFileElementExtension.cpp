#include "zbFileElementExtension.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "zbErrorCodeManager.h"
#include "zbFileElement.h"
#include "zbFileLines.h"
#include "zbFileName.h"
#include "zbFileOperations.h"
#include "zbPatternList.h"
#include "zbReport.h"

namespace
{
// The target of a link resolved with exactly one child, else null.
zbFileElement* ResolvedTarget(zbFileElement& iElement)
{
    if (!iElement.IsSymbolicLink() || !iElement.IsExpanded())
        return nullptr;
    QORListPtrzbFileElement* children = iElement.GetListOfSubElement();
    return children && children->Size() == 1 ? (*children)[1] : nullptr;
}
} // namespace

zbFileElement* zbFileElementExtension::GetDirectory(zbFileElement& iElement)
{
    if (iElement.IsDirectory())
        return &iElement;
    zbFileElement* target = ResolvedTarget(iElement);
    return target && target->IsDirectory() ? target : nullptr;
}

zbFileElement* zbFileElementExtension::GetFile(zbFileElement& iElement)
{
    if (iElement.IsExisting() && !iElement.IsDirectory() && !iElement.IsSymbolicLink())
        return &iElement;
    zbFileElement* target = ResolvedTarget(iElement);
    return target && target->IsExisting() && !target->IsDirectory() ? target : nullptr;
}

char* zbFileElementExtension::Strtok(char* ioText, const int& iLength, const char* iDelimiters,
                                     int& ioPosition, const int& iKeepDelimiters,
                                     const int& iReturnEmpty)
{
    if (!ioText || ioPosition < 0 || ioPosition >= iLength)
        return nullptr;
    int start = ioPosition;
    for (int i = ioPosition; i < iLength; ++i)
    {
        if (!ioText[i] || !iDelimiters || !std::strchr(iDelimiters, ioText[i]))
            continue;
        if (!iKeepDelimiters)
            ioText[i] = '\0';
        ioPosition = i + 1;
        if (i > start || iReturnEmpty)
            return ioText + start;
        start = i + 1;
    }
    ioPosition = iLength;
    if (start < iLength || (iReturnEmpty && start > 0))
        return ioText + start;
    return nullptr;
}

// ------------------------------------------------------------ framework view

namespace
{
const char kFrameworkData[] = "framework.data";
const char kModuleData[] = "module.data";
const char kImakefile[] = "Imakefile.mk";
const char kInstallationMode[] = ".installation.mode";

// The pattern flags of the files looked for: the modules' data, the
// framework's data, the modules' Imakefile.mk.
const int kViewFlags[] = {1121, 1122, 113};
// Module directories when the caller names none.
const char* const kDefaultModules[] = {"*.m*", "*.doc"};

// What the marker file may begin with, and the install type each gives;
// the first row that matches wins.
struct InstallTypeRow
{
    const char* _Marker;
    int _Type;
};
const InstallTypeRow kInstallTypes[] = {
    /* 1 */ {"COPYPREQ_INSTALLATION", 1},
    /* 2 */ {"COPYFW_INSTALLATION", 10},
};

// The framework node of iPath and the directory it stands for.  The node
// is built with links to directories followed, so that a framework reached
// through a link is walked through it.
struct FrameworkNode
{
    explicit FrameworkNode(const char* iPath)
    {
        int saved = zbFileElement::SymbolicLinkWithDirectory;
        zbFileElement::SymbolicLinkWithDirectory = 1;
        _Node = new zbFileElement(iPath ? iPath : "");
        zbFileElement::SymbolicLinkWithDirectory = saved;
        _Directory = zbFileElementExtension::GetDirectory(*_Node);
    }
    ~FrameworkNode() { delete _Node; }
    FrameworkNode(const FrameworkNode&) = delete;
    FrameworkNode& operator=(const FrameworkNode&) = delete;

    zbFileElement* _Node;
    zbFileElement* _Directory;
};

// A missing framework directory: "FULLNAME : system error text".
int ReportMissingFramework(const zbFileElement& iNode)
{
    zbExtLastError.SetErrno(ENOENT);
    QORUnicodeString text(iNode.GetFullName());
    text += " : ";
    text += zbExtLastError.GetMsgError();
    zbReportWarningText(text);
    return -1;
}

// The module a file belongs to: the last component of its directory.
QORString ModuleOf(const zbFileElement& iFile)
{
    char* directory = iFile.GetPathName();
    QORString module(zbFileName(directory ? directory : "").GetPtrToBasename());
    std::free(directory);
    return module;
}

bool IsNamed(const zbFileElement& iFile, const char* iName)
{
    return std::strcmp(iFile.GetBaseName(), iName) == 0;
}

// Lists under iFramework the files the view is made of, for the operating
// systems and module patterns given; 0, or 1 after the "ExpandFailed"
// report.  The patterns stay alive as long as the tree that uses them:
// the caller deletes them after the walk.
int CollectViewFiles(zbFileElement& iFramework, QORListPtrzbString& iOSNames,
                     QORListPtrzbString* iModuleNames, QORListPtrzbPattern*& oPatterns,
                     QORListPtrzbFileElement& oFiles)
{
    QORListPtrzbPatternFlag flags;
    for (int flag : kViewFlags)
        flags.Append(new zbPatternFlag(flag));
    QORListPtrzbPattern* templates = BuildPatternList(flags, zbFullPatternType);
    flags.ApplyDelete();

    QORListPtrzbString defaultModules, frameworkPaths;
    if (!iModuleNames)
        for (const char* module : kDefaultModules)
            defaultModules.Append(new zbString(module));
    frameworkPaths.Append(new zbString(iFramework.GetFullName()));
    oPatterns = SubstKeyInPattern(*templates, iOSNames,
                                  iModuleNames ? *iModuleNames : defaultModules, frameworkPaths);
    templates->ApplyDelete();
    delete templates;
    defaultModules.ApplyDelete();
    frameworkPaths.ApplyDelete();

    iFramework.SetPattern(oPatterns);
    if (iFramework.FilterExpand(RECURSIVE_MODE) != 0)
        return zbReportMessage("ExpandFailed",
                               {iFramework.GetFullName(), iFramework.GetLastErrorMessage()});
    iFramework.GetListOfAllSubElementFile(oFiles);
    return 0;
}

// The tree lets go of the patterns before they are deleted.
void DeletePatterns(zbFileElement& ioFramework, QORListPtrzbPattern* ioPatterns)
{
    ioFramework.SetPattern(nullptr);
    if (!ioPatterns)
        return;
    ioPatterns->ApplyDelete();
    delete ioPatterns;
}

// Reads one data file into ioData: 0, or 1 after the "cannot load" report.
int LoadDataFile(const zbFileElement& iFile, zbRTViewData& ioData,
                 const zbRTViewData::PathModification& iMode,
                 QORListValQORUnicodeString* ioLoadedFiles)
{
    if (ioData.Read(QORString(iFile.GetFullName()), iMode) != zbRTViewData::ReadDone)
        return zbReportMessage("zbAPI.zbCannotLoad_r", {iFile.GetFullName()});
    if (ioLoadedFiles)
        ioLoadedFiles->Append(QORUnicodeString(iFile.GetFullName()));
    return 0;
}

template <class L, class F>
int ConvertLines(const char* iPath, L& ioLines, const int& iSkipEmpty, const int& iNormalize,
                 const int& iStripCarriageReturn, F iMake)
{
    int rc = zbForEachFileLine(iPath, iSkipEmpty, iStripCarriageReturn,
                               [&](const char* iStart, int iLength)
                               {
                                   std::string line(iStart, static_cast<size_t>(iLength));
                                   // As zbFileElement::NormalizePath does, but
                                   // over the whole line, NUL bytes included.
                                   if (iNormalize)
                                       for (char& c : line)
                                           if (c == *zbDosPathSeparator)
                                               c = *zbPathSeparator;
                                   iMake(ioLines, line);
                               });
    return rc < 0 ? -1 : ioLines.Size();
}
} // namespace

int zbFileElementExtension::GetFWRTViewData(const char* iFrameworkPath, const char* iOSName,
                                            zbRTViewData& ioData, int& oFrameworkDataProblem,
                                            int& oMissingModuleData,
                                            const zbRTViewData::PathModification& iMode,
                                            QORListValQORUnicodeString* ioLoadedFiles)
{
    oFrameworkDataProblem = 0;
    oMissingModuleData = 0;
    if (ioLoadedFiles)
        ioLoadedFiles->RemoveAll();
    if (!iOSName || std::strchr(iOSName, '*'))
        return -1;
    FrameworkNode framework(iFrameworkPath);
    if (!framework._Directory)
        return ReportMissingFramework(*framework._Node);
    zbFileElement& directory = *framework._Directory;

    QORListPtrzbString osNames;
    osNames.Append(new zbString(iOSName));
    QORListPtrzbPattern* patterns = nullptr;
    QORListPtrzbFileElement files;
    int failed = CollectViewFiles(directory, osNames, nullptr, patterns, files);
    osNames.ApplyDelete();
    if (failed)
    {
        DeletePatterns(directory, patterns);
        return -1;
    }

    // The modules' data files by module; the first framework data read,
    // every one counted.
    QORHashDicSzbFileElement moduleData(10);
    QORListPtrzbFileElement imakefiles;
    int loadFailures = 0, frameworkDataCount = 0;
    for (zbFileElement* file : files)
    {
        if (IsNamed(*file, kModuleData))
            moduleData.Insert(ModuleOf(*file), file);
        else if (IsNamed(*file, kFrameworkData))
        {
            if (++frameworkDataCount == 1)
                loadFailures += LoadDataFile(*file, ioData, iMode, ioLoadedFiles);
        }
        else if (IsNamed(*file, kImakefile))
            imakefiles.Append(file);
    }
    for (zbFileElement* imakefile : imakefiles)
    {
        QORString module = ModuleOf(*imakefile);
        if (zbFileElement* data = moduleData.Locate(module))
            loadFailures += LoadDataFile(*data, ioData, iMode, ioLoadedFiles);
        else
        {
            zbReportMessage("NoModuleData_r", {directory.GetBaseName(), module});
            ++oMissingModuleData;
        }
    }
    if (frameworkDataCount == 0)
        zbReportMessage("NoFrameworkData_r", {directory.GetBaseName()});
    else if (frameworkDataCount > 1)
        zbReportMessage("TooManyFrameworkData_r", {directory.GetBaseName()});
    oFrameworkDataProblem = frameworkDataCount == 1 ? 0 : 1;
    DeletePatterns(directory, patterns);
    return loadFailures;
}

int zbFileElementExtension::GetFWRTViewData(const char* iFrameworkPath,
                                            QORListPtrzbString& iOSNames, zbRTViewData& ioData,
                                            const zbRTViewData::PathModification& iMode,
                                            QORListPtrzbString* iModuleNames)
{
    FrameworkNode framework(iFrameworkPath);
    if (!framework._Directory)
        return ReportMissingFramework(*framework._Node);
    zbFileElement& directory = *framework._Directory;

    QORListPtrzbPattern* patterns = nullptr;
    QORListPtrzbFileElement files;
    if (CollectViewFiles(directory, iOSNames, iModuleNames, patterns, files) != 0)
    {
        DeletePatterns(directory, patterns);
        return -1;
    }

    // The modules present (those with an Imakefile.mk); every framework
    // data merged.
    QORHashDicSzbFileElement modules(10);
    QORListPtrzbFileElement moduleData;
    int loadFailures = 0;
    for (zbFileElement* file : files)
    {
        if (IsNamed(*file, kImakefile))
            modules.Insert(ModuleOf(*file), file);
        else if (IsNamed(*file, kFrameworkData))
            loadFailures += LoadDataFile(*file, ioData, iMode, nullptr);
        else if (IsNamed(*file, kModuleData))
            moduleData.Append(file);
    }
    for (zbFileElement* data : moduleData)
    {
        if (modules.Locate(ModuleOf(*data)))
            loadFailures += LoadDataFile(*data, ioData, iMode, nullptr);
        else
            zbReportWarning("NoImakefile_r", {data->GetFullName()});
    }
    DeletePatterns(directory, patterns);
    return loadFailures;
}

namespace
{
// The names of the matching elements of the lenient view, each given to
// iAdd; the number of failures of the view (-1 fatal).
template <class F>
int ForEachModuleElement(const char* iFrameworkPath, QORListPtrzbString& iOSNames,
                         const int iTypeMask, const int iExposureMask,
                         const zbRTViewData::PathModification& iMode,
                         QORListPtrzbString* iModuleNames, F iAdd)
{
    zbRTViewData data(512);
    const int failures = zbFileElementExtension::GetFWRTViewData(iFrameworkPath, iOSNames, data,
                                                                 iMode, iModuleNames);
    if (failures < 0)
        return -1;
    QORListPtrzbRTViewElement elements;
    data.GetListOf(iTypeMask, iExposureMask, elements);
    for (const zbRTViewElement* element : elements)
        iAdd(element->_Name.CastToCharPtr());
    // A data file that could not be loaded was reported: a failure too.
    return failures > 0 ? -1 : 0;
}
} // namespace

int zbFileElementExtension::GetFWModuleList(const char* iFrameworkPath,
                                            QORListPtrzbString& iOSNames,
                                            QORListValQORUnicodeString& ioNames,
                                            const int iTypeMask, const int iExposureMask,
                                            const zbRTViewData::PathModification& iMode,
                                            QORListPtrzbString* iModuleNames)
{
    return ForEachModuleElement(
               iFrameworkPath, iOSNames, iTypeMask, iExposureMask, iMode, iModuleNames,
               [&ioNames](const char* iName) { ioNames.Append(QORUnicodeString(iName)); }) < 0
               ? -1
               : ioNames.Size();
}

int zbFileElementExtension::GetFWModuleList(const char* iFrameworkPath,
                                            QORListPtrzbString& iOSNames,
                                            QORListPtrzbString& ioNames, const int iTypeMask,
                                            const int iExposureMask,
                                            const zbRTViewData::PathModification& iMode,
                                            QORListPtrzbString* iModuleNames)
{
    return ForEachModuleElement(
               iFrameworkPath, iOSNames, iTypeMask, iExposureMask, iMode, iModuleNames,
               [&ioNames](const char* iName) { ioNames.Append(new zbString(iName)); }) < 0
               ? -1
               : ioNames.Size();
}

// ------------------------------------------------------------ install type

namespace
{
// What InstallTypeOf answers besides an install type.
enum
{
    kNoMarker = -1,   // nothing of that name: the caller may look elsewhere
    kUnreadable = -2, // a file that cannot be read (reported)
};

// The install type a marker file gives, or kNoMarker or kUnreadable.
int InstallTypeOf(const std::string& iPath)
{
    zbFileElement node(iPath.c_str());
    if (!node.IsExisting())
        return kNoMarker;
    zbFileElement* file = zbFileElementExtension::GetFile(node);
    if (!file)
        return 0;
    char* buffer = nullptr;
    unsigned int size = 0;
    // Only its first bytes count: read as bytes.
    if (zbMMap(file->GetFullName(), 0, buffer, size, 0) != 0)
    {
        zbReportLastError(file->GetFullName());
        return kUnreadable;
    }
    if (!buffer)
        return 0;
    int type = 0;
    for (const InstallTypeRow& row : kInstallTypes)
    {
        size_t length = std::strlen(row._Marker);
        if (size >= length && std::memcmp(buffer, row._Marker, length) == 0)
        {
            type = row._Type;
            break;
        }
    }
    std::free(buffer);
    return type;
}
} // namespace

int zbFileElementExtension::GetInstallType(const char* iFrameworkPath)
{
    std::string framework(iFrameworkPath ? iFrameworkPath : "");
    int type = InstallTypeOf(framework + zbPathSeparator + kInstallationMode);
    if (type == kNoMarker)
        type = InstallTypeOf(framework + zbPathSeparator + "various" + zbPathSeparator +
                             kInstallationMode);
    return type == kUnreadable ? -1 : type == kNoMarker ? 0 : type;
}

// ------------------------------------------------------------ lines of a file

int zbFileElementExtension::ConvertFileToListOfString(const char* iPath,
                                                      QORListValQORUnicodeString& ioLines,
                                                      const int& iSkipEmpty, const int& iNormalize,
                                                      const int& iStripCarriageReturn)
{
    return ConvertLines(iPath, ioLines, iSkipEmpty, iNormalize, iStripCarriageReturn,
                        [](QORListValQORUnicodeString& ioList, const std::string& iLine)
                        { ioList.Append(QORUnicodeString(iLine.data(), iLine.size())); });
}

int zbFileElementExtension::ConvertFileToListOfString(const char* iPath,
                                                      QORListValQORString& ioLines,
                                                      const int& iSkipEmpty, const int& iNormalize,
                                                      const int& iStripCarriageReturn)
{
    return ConvertLines(iPath, ioLines, iSkipEmpty, iNormalize, iStripCarriageReturn,
                        [](QORListValQORString& ioList, const std::string& iLine)
                        { ioList.Append(QORString(iLine.data(), iLine.size())); });
}

int zbFileElementExtension::ConvertFileToListOfString(const char* iPath,
                                                      QORListValzbNewString& ioLines,
                                                      const int& iSkipEmpty, const int& iNormalize,
                                                      const int& iStripCarriageReturn)
{
    return ConvertLines(iPath, ioLines, iSkipEmpty, iNormalize, iStripCarriageReturn,
                        [](QORListValzbNewString& ioList, const std::string& iLine)
                        {
                            zbNewString line;
                            line.Append(iLine.data(), static_cast<int>(iLine.size()));
                            ioList.Append(line);
                        });
}

int zbFileElementExtension::ConvertFileToListOfString(const char* iPath,
                                                      QORListPtrzbString& ioLines,
                                                      const int& iSkipEmpty, const int& iNormalize,
                                                      const int& iStripCarriageReturn)
{
    return ConvertLines(iPath, ioLines, iSkipEmpty, iNormalize, iStripCarriageReturn,
                        [](QORListPtrzbString& ioList, const std::string& iLine)
                        {
                            ioList.Append(new zbString(zbStringBasic(
                                iLine.data(), static_cast<unsigned int>(iLine.size()))));
                        });
}
