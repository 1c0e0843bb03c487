#ifndef zbContext_H
#define zbContext_H
// The process-wide build context: installation roots, operating-system
// naming of the build-time and run-time platforms, bit mode, working
// directory, version, the running tool's option words, the search paths of
// configuration, trame and data files, the main specifications, and the two
// reporting services (message manager and trace manager).
//
// There is exactly one context, zbExtContext, built during the library's
// static initialisation from the ZbzbOS_* environment.  A missing or invalid
// mandatory value ends the process with a fatal report before the tool runs.

#include "QORListPtr.h"
#include "QORString.h"
#include "zbEnvironVariable.h"
#include "zbKeyForTraceManager.h"
#include "zbMsgManager.h"
#include "zbNewString.h"
#include "zbPathFinder.h"
#include "zbTraceManager.h"

class zbOFStream;
class zbMacroSet;

using QORListPtrzbPathFinder = QORListPtr<zbPathFinder>;

class zbContext
{
  public:
    zbContext();
    ~zbContext();
    zbContext(const zbContext&) = delete;
    zbContext& operator=(const zbContext&) = delete;

    // Option words of the running tool (zero at construction).
    int _Performances;
    int _ShowCommand;
    int _Verbose;
    int _DebugLevel;
    int _OptionWord;

    const QORString& InstallPath() const { return _InstallPath; }
    const QORString& OSBuildtime() const { return _OSBuildtime; }
    const QORListValQORString& OSRootBuildtime() const { return _OSRootBuildtime; }
    const QORString& OSRuntime() const { return _OSRuntime; }
    const QORString& OSDoc() const { return _OSDoc; }
    const QORString& OSNAME() const { return _OSNAME; }
    const QORString& OSType() const { return _OSType; }
    const QORString& CPwd() const { return _CPwd; }
    int OSBitMode() const { return _OSBitMode; }
    const char* GetTempPath() const { return _TempPath; }
    int GetXml() const { return _Xml; }
    int GetCatastrophicError() const { return _CatastrophicError; }
    const QORString& MajorVersion() const { return _MajorVersion; }
    const QORString& MinorVersion() const { return _MinorVersion; }
    const QORString& ServicePack() const { return _ServicePack; }
    const QORString& BuildNumber() const { return _BuildNumber; }
    zbMsgManager* GetMsgMngr() { return &_MsgManager; }
    zbTraceManager* GetTraceMngr() { return &_TraceManager; }

    void SetCatastrophicError(const int& iValue) { _CatastrophicError = iValue; }
    // SIGABRT to zbContextualAbort, SIGINT and SIGTERM to zbContextualInterrupt
    // (zbTrapFatalSignals).
    void TrapSignals();
    // Puts ZbzbExternalQX=External into the environment; returns the value.
    const char* SetForExternalUse();
    // ZbzbExternalQX from the environment, or null when unset.
    const char* ExternalQX();

    // XML trace file: forwarded to the trace manager, whose result (1 open,
    // 0 not) is kept as GetXml().
    int SetXmlFileName(const QORString* iFileName, const char* iApplicationName,
                       const int& iAppend);
    int SetXmlFileDescriptor(const int* iFd, const char* iName);

    // Search paths, built on first use from the installation roots
    // (ROOT/./RUNTIME/tools/config, .../tools/trame, .../tools/data, each
    // first with /BUILDTIME, roots of MY_ZBZB_CONFIG, MY_ZBZB_TRAME and
    // MY_ZBZB_DATA first) and never rebuilt.
    zbPathFinder* GetConfigPath();
    zbPathFinder* GetTramePath();
    zbPathFinder* GetDataPath();
    // The trame path of the sub-directory tools/trame/iName.
    zbPathFinder* GetTramePath(const zbNewString& iName);
    // Non-null when found, oFile then being the file found.
    zbFileName* SearchForConfig(const QORString& iName, zbFileName& oFile);
    zbFileName* SearchForData(const QORString& iName, zbFileName& oFile);
    // "MainSpecifications.mk" of the configuration path, read and resolved
    // on first use; never null (empty when there is no such file).
    zbMacroSet* GetMainSpecifications();
    // 1 when "MainSpecifications.mk" was found but could not be read as a
    // whole (its failures reported while reading), else 0.
    int MainSpecificationsFailed() const { return _MainSpecificationsFailed; }

    // The first of SetVersion and ComputeVersion sets the version; later
    // calls change nothing.
    void SetVersion(const QORString& iMajor, const QORString& iMinor, const QORString& iServicePack,
                    const QORString& iBuildNumber);
    // MajorVersion and MinorVersion from "zbVersionData.mk" of the data
    // path, preprocessed with the levels of iLevelDirectory/TALVEXV5Level.lvl;
    // the service pack from Zbzb_SPKLEVEL, the build number from today's
    // date (YYDDD).  All four stay "0" when anything is missing.
    void ComputeVersion(const QORString& iLevelDirectory);
    // Why ComputeVersion left the version at "0" (VersionComputed once it
    // set the values): the step where it stopped.
    enum VersionFailure
    {
        VersionComputed = 0,
        VersionNoData,         // no "zbVersionData.mk" along the data path
        VersionNoLevelFile,    // no level file in the directory
        VersionBadLevelFile,   // level file unreadable, empty or refused
        VersionUnreadableData, // version data unreadable (errno recorded)
        VersionNulInData,      // a NUL byte in the version data
        VersionBadData,        // version data refused (reported)
        VersionEmptyData,      // version data empty once preprocessed
        VersionMissingValues,  // MajorVersion or MinorVersion not defined
    };
    VersionFailure GetVersionFailure() const { return _VersionFailure; }

    void Dump(zbOFStream& oStream);

  private:
    // Creates a path finder over the roots of iSubDirectory (dumped when
    // verbose).
    zbPathFinder* _BuildPath(zbPathFinder* ioFinder, const char* iSubDirectory,
                             const char* iOverrideVariable);

    int _Xml;
    QORString _InstallPath;
    QORString _OSBuildtime;
    QORListValQORString _OSRootBuildtime;
    QORString _OSRuntime;
    QORString _OSDoc;
    QORString _OSNAME;
    QORString _OSType;
    QORString _CPwd;
    int _OSBitMode;
    char _TempPath[1024];
    int _CatastrophicError;
    zbEnvironVariable _ExternalQX;
    zbPathFinder* _ConfigPath;
    zbPathFinder* _TramePath;
    zbPathFinder* _DataPath;
    zbHashDiczbPathFinder _TramePathDico;
    QORListPtrzbPathFinder _TramePathList;
    zbMsgManager _MsgManager;
    zbTraceManager _TraceManager;
    zbMacroSet* _MainSpecifications;
    int _MainSpecificationsFailed = 0;
    int _VersionSet;
    VersionFailure _VersionFailure = VersionComputed;
    QORString _MajorVersion;
    QORString _MinorVersion;
    QORString _ServicePack;
    QORString _BuildNumber;
};

// The library's fixed message keys.
extern zbKeyForTraceManager MSG_KEY_makeBegin;
extern zbKeyForTraceManager MSG_KEY_makeEnd;
extern zbKeyForTraceManager MSG_KEY_makeError;
extern zbKeyForTraceManager MSG_KEY_makeWarning;
extern zbKeyForTraceManager MSG_KEY_stepStart;
extern zbKeyForTraceManager MSG_KEY_stepEnd;
extern zbKeyForTraceManager MSG_KEY_zbzbError;
extern zbKeyForTraceManager MSG_KEY_zbzbErrorExtended;
extern zbKeyForTraceManager MSG_KEY_zbzbWarning;
extern zbKeyForTraceManager MSG_KEY_zbzbWarningExtended;
extern zbKeyForTraceManager MSG_KEY_zbzbInfo;
extern zbKeyForTraceManager MSG_KEY_zbzbFatal;
extern zbKeyForTraceManager MSG_KEY_systError;
extern zbKeyForTraceManager MSG_KEY_cleanup;
extern zbKeyForTraceManager MSG_KEY_PLXV5Error;
extern zbKeyForTraceManager MSG_KEY_PLXV5Warning;
extern zbKeyForTraceManager MSG_KEY_atpError;
extern zbKeyForTraceManager MSG_KEY_atpWarning;
extern zbKeyForTraceManager MSG_KEY_atpInfo;
extern zbKeyForTraceManagerWithId MSG_KEY_zbzbErrorWithId;
extern zbKeyForTraceManagerWithId MSG_KEY_zbzbErrorExtendedWithId;
extern zbKeyForTraceManagerWithId MSG_KEY_zbzbWarningWithId;
extern zbKeyForTraceManagerWithId MSG_KEY_zbzbWarningExtendedWithId;

extern zbContext zbExtContext;

#endif
