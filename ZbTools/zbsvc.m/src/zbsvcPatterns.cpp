// zbsvc patterns [-type N] [-filter data|sources|objects|all|preq] [-data]
// [-tests] [-sniff] [-fw DIR ...] [-mod M ...] [-os OS ...] [FLAG ...]: the
// pattern list built from a filter's flags, the flags its -data, -tests and
// -sniff switches add, and the flags given on the line, printed as
// PrintPatternList writes it.  With -fw, -mod or -os the keys of the
// templates are replaced first (each switch may be repeated).

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "zbAllPatternFilter.h"
#include "zbDataPatternFilter.h"
#include "zbEmptyPatternFilter.h"
#include "zbGetopts.h"
#include "zbObjectsPatternFilter.h"
#include "zbOFStream.h"
#include "zbPatternList.h"
#include "zbPreqPatternFilter.h"
#include "zbSourcePatternFilter.h"
#include "zbsvcVerbs.h"

namespace
{
// A whole decimal number (sign allowed) into oValue.
bool ParseInt(const char* iText, int& oValue)
{
    if (!iText || !*iText)
        return false;
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(iText, &end, 10);
    if (*end || errno || value < -2147483647L - 1 || value > 2147483647L)
        return false;
    oValue = static_cast<int>(value);
    return true;
}

zbPatternFilter* MakeFilter(const char* iName, zbPatternType iType)
{
    if (!iName)
        return new zbEmptyPatternFilter;
    if (!std::strcmp(iName, "data"))
        return new zbDataPatternFilter;
    if (!std::strcmp(iName, "sources"))
        return new zbSourcePatternFilter;
    if (!std::strcmp(iName, "objects"))
        return new zbObjectsPatternFilter(iType);
    if (!std::strcmp(iName, "all"))
        return new zbAllPatternFilter(iType);
    if (!std::strcmp(iName, "preq"))
        return new zbPreqPatternFilter;
    return nullptr;
}

// The values of a repeated switch as strings the list owns.

int Usage(const zbsvcOptions& iOptions, const char* iWhat, const char* iValue)
{
    return zbsvcUsageError(iOptions,
                           (std::string(iWhat) + " '" + (iValue ? iValue : "") + "'").c_str());
}
} // namespace

int zbsvcPatterns(int argc, char** argv)
{
    zbsvcOptions options("zbsvc patterns");
    options.DeclareValue("type", "N", "pattern type (1: reduced various section)");
    options.DeclareValue("filter", "NAME",
                         "start from a filter: data, sources, objects, all, preq");
    options.DeclareSwitch("data", "add the filter's data flags");
    options.DeclareSwitch("tests", "add the filter's function-test flags");
    options.DeclareSwitch("sniff", "add the filter's sniff flags");
    options.DeclareValue("fw", "DIR", "framework path put in place of %fw%");
    options.DeclareValue("mod", "M", "module name put in place of %mod%");
    options.DeclareValue("os", "OS", "operating-system name put in place of %os%");
    int status = zbsvcAnalyze(options, argc, argv, 0, -1);
    if (status >= 0)
        return status;

    int type = 0;
    if (QORString* text = options.GetSwitchValue("type"))
        if (!ParseInt(*text, type))
            return Usage(options, "not a pattern type:", *text);
    QORString* filterName = options.GetSwitchValue("filter");
    std::unique_ptr<zbPatternFilter> filter(MakeFilter(
        filterName ? filterName->CastToCharPtr() : nullptr, static_cast<zbPatternType>(type)));
    if (!filter)
        return Usage(options, "unknown filter", *filterName);
    if (options.GetSwitchStatus("data"))
        filter->AddDataPattern();
    if (options.GetSwitchStatus("tests"))
        filter->AddFunctionTestPattern();
    if (options.GetSwitchStatus("sniff"))
        filter->AddSniffPattern();
    if (QORListValQORString* flags = options.GetAllLineValues())
        for (const QORString& text : *flags)
        {
            int flag = 0;
            if (!ParseInt(text, flag))
                return Usage(options, "not a pattern flag:", text);
            filter->AddPattern(flag);
        }

    QORListPtrzbPatternFlag* flags = filter->GetPatternFlagList();
    QORListPtrzbPattern* patterns = BuildPatternList(*flags, static_cast<zbPatternType>(type));
    flags->ApplyDelete();
    delete flags;
    if (options.GetSwitchAllValues("fw") || options.GetSwitchAllValues("mod") ||
        options.GetSwitchAllValues("os"))
    {
        QORListPtrzbString osNames, moduleNames, frameworkPaths;
        options.GetValues("os", osNames);
        options.GetValues("mod", moduleNames);
        options.GetValues("fw", frameworkPaths);
        QORListPtrzbPattern* substituted =
            SubstKeyInPattern(*patterns, osNames, moduleNames, frameworkPaths);
        patterns->ApplyDelete();
        delete patterns;
        patterns = substituted;
        osNames.ApplyDelete();
        moduleNames.ApplyDelete();
        frameworkPaths.ApplyDelete();
    }
    PrintPatternList(*patterns, zbsvcOutput(), "patterns");
    patterns->ApplyDelete();
    delete patterns;
    return 0;
}
