#include "zbContext.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "zbDirectories.h"
#include "zbErrorCodeManager.h"
#include "zbInternalError.h"
#include "zbMsgTag.h"
#include "zbOFStream.h"

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
      _MsgManager("QORZbMessages"), _TraceManager("zbXmlKeys.mk"), _MainSpecifications(nullptr),
      _VersionSet(0), _MajorVersion("0"), _MinorVersion("0"), _ServicePack("0"), _BuildNumber("0")
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
    // The search paths and main specifications are built and owned by the
    // search-path services; none exists until they are asked for.
}

void zbContext::TrapSignals()
{
    std::signal(SIGABRT, zbContextualAbort);
    std::signal(SIGINT, zbContextualInterrupt);
    std::signal(SIGTERM, zbContextualInterrupt);
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
}
