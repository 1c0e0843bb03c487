#include "zbContext.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "zbDirectories.h"
#include "zbErrorCodeManager.h"
#include "zbFileBuffer.h"
#include "zbFileName.h"
#include "zbGetZbzbConcatenation.h"
#include "zbInternalError.h"
#include "zbMacroSet.h"
#include "zbMsgTag.h"
#include "zbOFStream.h"
#include "zbPPMacLev.h"

// The library's process-wide objects, constructed in this order at load
// time and destroyed in the reverse order at exit: the message keys, the
// last-error holder, the list of open complex tags, the context.

zbKeyForTraceManager MSG_KEY_makeBegin("makeBegin");
zbKeyForTraceManager MSG_KEY_makeEnd("makeEnd");
zbKeyForTraceManager MSG_KEY_makeError("makeError");
zbKeyForTraceManager MSG_KEY_makeWarning("makeWarning");
zbKeyForTraceManager MSG_KEY_stepStart("stepStart");
zbKeyForTraceManager MSG_KEY_stepEnd("stepEnd");
zbKeyForTraceManager MSG_KEY_zbzbError("zbzbError");
zbKeyForTraceManager MSG_KEY_zbzbErrorExtended("zbzbErrorExtended");
zbKeyForTraceManager MSG_KEY_zbzbWarning("zbzbWarning");
zbKeyForTraceManager MSG_KEY_zbzbWarningExtended("zbzbWarningExtended");
zbKeyForTraceManager MSG_KEY_zbzbInfo("zbzbInfo");
zbKeyForTraceManager MSG_KEY_zbzbFatal("zbzbFatal");
zbKeyForTraceManager MSG_KEY_systError("systError");
zbKeyForTraceManager MSG_KEY_cleanup("cleanup");
zbKeyForTraceManager MSG_KEY_PLXV5Error("PLXV5Error");
zbKeyForTraceManager MSG_KEY_PLXV5Warning("PLXV5Warning");
zbKeyForTraceManager MSG_KEY_atpError("atpError");
zbKeyForTraceManager MSG_KEY_atpWarning("atpWarning");
zbKeyForTraceManager MSG_KEY_atpInfo("atpInfo");
zbKeyForTraceManagerWithId MSG_KEY_zbzbErrorWithId("zbzbErrorWithId");
zbKeyForTraceManagerWithId MSG_KEY_zbzbErrorExtendedWithId("zbzbErrorExtendedWithId");
zbKeyForTraceManagerWithId MSG_KEY_zbzbWarningWithId("zbzbWarningWithId");
zbKeyForTraceManagerWithId MSG_KEY_zbzbWarningExtendedWithId("zbzbWarningExtendedWithId");

zbErrorCodeManager zbExtLastError;

QORListPtrzbMsgTagComplex zbMsgTagComplex::_ListOfzbMsgTagComplex;

zbContext zbExtContext;

namespace
{
const char kContextSource[] = "ZbUtilities/QORZbServices.m/src/zbContext";

QORString Environment(const char* iName)
{
    const char* value = std::getenv(iName);
    return QORString(value ? value : "");
}
} // namespace

zbContext::zbContext()
    : _Performances(0), _ShowCommand(0), _Verbose(0), _DebugLevel(0), _OptionWord(0), _Xml(0),
      _InstallPath(Environment("ZbzbINSTALL_PATH")), _OSBuildtime(Environment("ZbzbOS_Buildtime")),
      _OSRuntime(Environment("ZbzbOS_Runtime")), _OSDoc(Environment("ZbzbOS_DOC")),
      _OSNAME(Environment("ZbzbOS_NAME")), _OSType(Environment("ZbzbOS_Type")),
      _CPwd(zbGetPWD() ? zbGetPWD() : ""), _OSBitMode(0), _CatastrophicError(0),
      _ExternalQX("ZbzbExternalQX"), _ConfigPath(nullptr), _TramePath(nullptr), _DataPath(nullptr),
      _TramePathDico(10), _MsgManager("QORZbMessages"), _TraceManager("zbXmlKeys.mk"),
      _MainSpecifications(nullptr), _VersionSet(0), _MajorVersion("0"), _MinorVersion("0"),
      _ServicePack("0"), _BuildNumber("0")
{
    const char* Ptr = std::getenv("ZbzbOS_BitMode");
    if ((Ptr == nullptr) || (!std::sscanf(Ptr, "%d", &_OSBitMode)) ||
        ((_OSBitMode != 32) && (_OSBitMode != 64)))
        zbInternalError("! ( ( Ptr == NULL ) || ( ! sscanf( Ptr, \"%d\", &_OSBitMode ) ) || ( ( "
                        "_OSBitMode != 32 ) && ( _OSBitMode != 64 ) ) )",
                        kContextSource, 119, 1);

    struct Mandatory
    {
        const QORString& _Value;
        const char* _Expression;
        int _Line;
    } const mandatory[] = {
        {_InstallPath, "_InstallPath.GetLengthInChar()", 120},
        {_OSBuildtime, "_OSBuildtime.GetLengthInChar()", 121},
        {_OSRuntime, "_OSRuntime.GetLengthInChar()", 122},
        {_OSDoc, "_OSDoc.GetLengthInChar()", 123},
        {_OSNAME, "_OSNAME.GetLengthInChar()", 124},
        {_OSType, "_OSType.GetLengthInChar()", 125},
        {_CPwd, "_CPwd.GetLengthInChar()", 126},
    };
    for (const Mandatory& check : mandatory)
        if (!check._Value.GetLengthInChar())
            zbInternalError(check._Expression, kContextSource, check._Line, 1);

    std::strcpy(_TempPath, "/tmp");
    _OSRootBuildtime.Append(_OSBuildtime);
    zbSplitPathConcatenation(_OSRootBuildtime, std::getenv("ZbzbOS_RootBuildtime"), ',');
    errno = 0;
}

zbContext::~zbContext()
{
    delete _ConfigPath;
    delete _TramePath;
    delete _DataPath;
    _TramePathDico.RemoveAll();
    for (int i = _TramePathList.Size(); i >= 1; --i)
        delete _TramePathList[i];
    _TramePathList.RemoveAll();
    delete _MainSpecifications;
    // The members go next: the trace manager closes the XML trace file.
}

void zbContext::TrapSignals()
{
    zbTrapFatalSignals();
}

const char* zbContext::SetForExternalUse()
{
    _ExternalQX = "External";
    return _ExternalQX.PutEnvironmentValue();
}

const char* zbContext::ExternalQX()
{
    return _ExternalQX.GetEnvironmentValue();
}

int zbContext::SetXmlFileName(const QORString* iFileName, const char* iApplicationName,
                              const int& iAppend)
{
    _Xml = _TraceManager.SetXmlFileName(iFileName, iApplicationName, iAppend);
    return _Xml;
}

int zbContext::SetXmlFileDescriptor(const int* iFd, const char* iName)
{
    _Xml = _TraceManager.SetXmlFileDescriptor(iFd, iName);
    return _Xml;
}

// ---------------------------------------------------------------- search paths

zbPathFinder* zbContext::_BuildPath(zbPathFinder* ioFinder, const char* iSubDirectory,
                                    const char* iOverrideVariable)
{
    QORListValQORString list;
    zbGetZbzbConcatenation(list, _InstallPath.CastToCharPtr(), iSubDirectory,
                           iOverrideVariable ? std::getenv(iOverrideVariable) : nullptr);
    ioFinder->SetListOfPath(list);
    if (_Verbose)
        ioFinder->Dump(zbStdout);
    return ioFinder;
}

zbPathFinder* zbContext::GetConfigPath()
{
    if (!_ConfigPath)
        _ConfigPath = _BuildPath(new zbPathFinder, "tools/config", "MY_ZBZB_CONFIG");
    return _ConfigPath;
}

zbPathFinder* zbContext::GetTramePath()
{
    if (!_TramePath)
        _TramePath = _BuildPath(new zbPathFinder, "tools/trame", "MY_ZBZB_TRAME");
    return _TramePath;
}

zbPathFinder* zbContext::GetDataPath()
{
    if (!_DataPath)
        _DataPath = _BuildPath(new zbPathFinder, "tools/data", "MY_ZBZB_DATA");
    return _DataPath;
}

zbPathFinder* zbContext::GetTramePath(const zbNewString& iName)
{
    zbPathFinder* finder = static_cast<zbPathFinder*>(_TramePathDico.Locate(iName));
    if (finder)
        return finder;
    finder = new zbPathFinder;
    _TramePathDico.Insert(iName, finder);
    _TramePathList.Append(finder);
    QORString subDirectory("tools/trame/");
    if (iName.CastToCharPtr())
        subDirectory += iName.CastToCharPtr();
    return _BuildPath(finder, subDirectory.CastToCharPtr(), nullptr);
}

zbFileName* zbContext::SearchForConfig(const QORString& iName, zbFileName& oFile)
{
    return GetConfigPath()->SearchFor(iName, oFile);
}

zbFileName* zbContext::SearchForData(const QORString& iName, zbFileName& oFile)
{
    return GetDataPath()->SearchFor(iName, oFile);
}

zbMacroSet* zbContext::GetMainSpecifications()
{
    if (_MainSpecifications)
        return _MainSpecifications;
    _MainSpecifications = new zbMacroSet(500);
    zbFileName file;
    if (SearchForConfig("MainSpecifications.mk", file))
    {
        // An empty file is an empty set; a failure was reported.
        if (!_MainSpecifications->InsertFile(file.GetPtrToFullname(), nullptr, '=',
                                             zbMacroSet::ReplaceExisting))
            _MainSpecifications->Solve(nullptr);
        else
            _MainSpecificationsFailed = 1;
    }
    if (_Verbose)
        _MainSpecifications->Dump(zbStdout);
    return _MainSpecifications;
}

// ---------------------------------------------------------------- version

void zbContext::SetVersion(const QORString& iMajor, const QORString& iMinor,
                           const QORString& iServicePack, const QORString& iBuildNumber)
{
    if (_VersionSet)
        return;
    _VersionSet = 1;
    _MajorVersion = iMajor;
    _MinorVersion = iMinor;
    _ServicePack = iServicePack;
    _BuildNumber = iBuildNumber;
}

void zbContext::Dump(zbOFStream& oStream)
{
    auto yesNo = [](int iFlag) { return iFlag ? "Yes" : "No"; };
    oStream.Puts("#\n");
    oStream.Puts("# Current context:\n");
    oStream.Print("#   Debug level  = %d\n", _DebugLevel);
    oStream.Print("#   Verbose      = %s\n", yesNo(_Verbose));
    oStream.Print("#   ShowCommand  = %s\n", yesNo(_ShowCommand));
    oStream.Print("#   Performances = %s\n", yesNo(_Performances));
    oStream.Print("#   Xml          = %s\n", yesNo(_Xml));
    oStream.Print("#   Current Install path = [%s]\n", _InstallPath.CastToCharPtr());
    oStream.Print("#   Current path = [%s]\n", _CPwd.CastToCharPtr());
    oStream.Puts("#\n");
    oStream.Puts("# Current concatenations:\n");
    for (const zbPathFinder* finder : {_ConfigPath, _TramePath, _DataPath})
        if (finder)
            finder->Dump(oStream);
    if (_MainSpecifications)
        _MainSpecifications->Dump(oStream);
}

void zbContext::ComputeVersion(const QORString& iLevelDirectory)
{
    if (_VersionSet)
        return;
    _VersionSet = 1;
    _MajorVersion = _MinorVersion = _ServicePack = _BuildNumber = "0";
    zbFileName dataFile;
    _VersionFailure = VersionNoData;
    if (!SearchForData("zbVersionData.mk", dataFile))
        return;
    zbFileName levelFile(iLevelDirectory.CastToCharPtr(), "TALVEXV5Level.lvl", nullptr);
    _VersionFailure = VersionNoLevelFile;
    if (levelFile.ReadStat())
        return;
    _VersionFailure = VersionBadLevelFile;
    zbPPMacLev levels(100);
    if (levels.InsertLevel(levelFile.GetPtrToFullname()))
        return;
    // Read as text: a NUL byte, which would end the text early, is refused.
    zbFileBuffer buffer;
    if (buffer.ReadFromFile(dataFile.GetPtrToFullname(), 8))
    {
        _VersionFailure =
            zbExtLastError.GetErrno() == zbErrnoNulByte ? VersionNulInData : VersionUnreadableData;
        return;
    }
    _VersionFailure = VersionBadData;
    if (buffer.zbPPBuffer(levels, dataFile.GetPtrToFullname()))
        return;
    _VersionFailure = VersionEmptyData;
    if (!buffer.GetBufferLength())
        return;
    // The macro set normalises and splits a copy of its own.
    std::string text(buffer.GetBuffer(), buffer.GetBufferLength());
    _VersionFailure = VersionBadData;
    zbMacroSet set(500);
    if (!zbMacroSet::ParseBuffer(dataFile.GetPtrToFullname(), &text[0]) ||
        set.InsertBuffer(&text[0], nullptr, '=', zbMacroSet::ReplaceExisting))
        return;
    _VersionFailure = VersionMissingValues;
    const QORString* major = set.GetValue("MajorVersion");
    const QORString* minor = set.GetValue("MinorVersion");
    if (!major || !minor)
        return;
    _VersionFailure = VersionComputed;
    _MajorVersion = *major;
    _MinorVersion = *minor;
    const char* servicePack = std::getenv("Zbzb_SPKLEVEL");
    _ServicePack = servicePack ? servicePack : "0";
    // YYDDD: the year within its century and the day of the year from 1.
    std::time_t now = std::time(nullptr);
    struct tm local;
    int build = 0;
    if (now != static_cast<std::time_t>(-1) && ::localtime_r(&now, &local))
        build = (local.tm_year % 100) * 1000 + local.tm_yday + 1;
    char number[16];
    std::snprintf(number, sizeof(number), "%d", build);
    _BuildNumber = number;
}
