// zbsvc modules [-os OS ...] [-type MASK] [-exp MASK] FW: the names of the
// elements of a framework's merged runtime view (every -os), one a line,
// selected by type and exposure.

#include "zbFileElementExtension.h"
#include "zbOFStream.h"
#include "zbsvcVerbs.h"

int zbsvcModules(int argc, char** argv)
{
    zbsvcOptions options("zbsvc modules");
    options.DeclareValue("os", "OS", "operating-system directory under various/ (repeatable)");
    zbsvcDeclareMasks(options);
    int status = zbsvcAnalyze(options, argc, argv, 1, 1);
    if (status >= 0)
        return status;
    int typeMask = 0, exposureMask = 0;
    status = zbsvcGetMasks(options, typeMask, exposureMask);
    if (status >= 0)
        return status;
    QORListValQORString* systems = options.GetSwitchAllValues("os");
    if (!systems || systems->Size() == 0)
        return zbsvcUsageError(options, "-os is required");
    QORListPtrzbString osNames, names;
    for (const QORString& system : *systems)
        osNames.Append(new zbString(system));
    int index = 1;
    int count = zbFileElementExtension::GetFWModuleList(*options.GetLineValue(index), osNames,
                                                        names, typeMask, exposureMask,
                                                        zbRTViewData::KeepPaths, nullptr);
    for (const zbString* name : names)
        zbStdout.Print("%s\n", name->CastToCharPtr());
    names.ApplyDelete();
    osNames.ApplyDelete();
    if (zbStdout.Flush() != 0)
        return 1;
    return count < 0 ? 1 : 0;
}
