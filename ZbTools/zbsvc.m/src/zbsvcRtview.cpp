// zbsvc rtview [-os OS ...] [-mod PATTERN ...] [-o OUT] FW: the runtime view
// a framework declares, written as a runtime-view data file to OUT or
// printed.  One -os (and no -mod) reads it strictly: the first
// "framework.data" of that system and the "module.data" of every module,
// each missing piece reported and counted on a last line
// "FW: framework data problem N, modules without data N, load failures N".
// Several -os (or -mod) merge every system's files leniently.

#include <cstring>

#include "zbFileElementExtension.h"
#include "zbHashDico.h"
#include "zbRTViewData.h"
#include "zbsvcVerbs.h"

namespace
{
const unsigned int kDimension = static_cast<unsigned int>(zbHashCodeCollec::UpToNiceModulo(4096));
} // namespace

int zbsvcRtview(int argc, char** argv)
{
    zbsvcOptions options("zbsvc rtview");
    options.DeclareValue("os", "OS", "operating-system directory under various/ (repeatable)",
                         zbsvcOptions::Required);
    options.DeclareValue("mod", "PATTERN",
                         "module directories read (repeatable; default *.m* and *.doc)");
    options.DeclareValue("o", "OUT", "write the view as a runtime-view data file");
    int status = zbsvcAnalyze(options, argc, argv, 1, 1);
    if (status >= 0)
        return status;
    QORListPtrzbString osNames, moduleNames;
    options.GetValues("os", osNames);
    options.GetValues("mod", moduleNames);
    int index = 1;
    const char* framework = *options.GetLineValue(index);
    QORString* output = options.GetSwitchValue("o");

    zbRTViewData data(kDimension);
    int result = 0, failed = 0;
    if (osNames.Size() == 1 && moduleNames.Size() == 0)
    {
        if (std::strchr(osNames[1]->CastToCharPtr(), '*'))
            status = zbsvcUsageError(options, "a single -os takes no wildcard");
        else
        {
            int frameworkDataProblem = 0, missingModuleData = 0;
            result = zbFileElementExtension::GetFWRTViewData(
                framework, osNames[1]->CastToCharPtr(), data, frameworkDataProblem,
                missingModuleData, zbRTViewData::KeepPaths, nullptr);
            if (result >= 0)
            {
                if (!output)
                    data.Dump(zbsvcOutput());
                zbsvcPrint("%s: framework data problem %d, modules without data %d, "
                           "load failures %d\n",
                           framework, frameworkDataProblem, missingModuleData, result);
                failed = frameworkDataProblem || missingModuleData;
            }
        }
    }
    else
    {
        result = zbFileElementExtension::GetFWRTViewData(
            framework, osNames, data, zbRTViewData::KeepPaths,
            moduleNames.Size() ? &moduleNames : nullptr);
        if (result >= 0 && !output)
            data.Dump(zbsvcOutput());
    }
    osNames.ApplyDelete();
    moduleNames.ApplyDelete();
    if (status >= 0)
        return status;
    if (result < 0)
        return 1;
    // A view missing a file that could not be read does not replace OUT.
    if (output && result == 0 && data.Write(*output) != 0)
        return 1;
    return result > 0 || failed ? 1 : 0;
}
