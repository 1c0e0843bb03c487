// zbsvc modules [-os OS ...] [-type MASK] [-exp MASK] FW: the names of the
// elements of a framework's merged runtime view (every -os), one a line,
// selected by type and exposure.

#include "zbFileElementExtension.h"
#include "zbsvcVerbs.h"

int zbsvcModules(int argc, char** argv)
{
    zbsvcOptions options("zbsvc modules");
    options.DeclareValue("os", "OS", "operating-system directory under various/ (repeatable)",
                         zbsvcOptions::Required);
    int typeMask = 0, exposureMask = 0;
    int status = zbsvcAnalyzeMasks(options, argc, argv, 1, 1, typeMask, exposureMask);
    if (status >= 0)
        return status;
    QORListPtrzbString osNames, names;
    options.GetValues("os", osNames);
    int index = 1;
    int count = zbFileElementExtension::GetFWModuleList(*options.GetLineValue(index), osNames,
                                                        names, typeMask, exposureMask,
                                                        zbRTViewData::KeepPaths, nullptr);
    for (const zbString* name : names)
    {
        zbsvcPuts(name->CastToCharPtr());
        zbsvcPutc('\n');
    }
    names.ApplyDelete();
    osNames.ApplyDelete();
    return count < 0 ? 1 : 0;
}
