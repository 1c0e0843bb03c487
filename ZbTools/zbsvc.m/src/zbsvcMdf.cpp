// zbsvc mdf [-strip] [-stats] FILE [SECTION ...]: the values of the named
// sections of an MDF V4 file, one per line, in the order the sections are
// named; without a section, the dump of every section.  A section is named
// with or without its leading '*'.  A missing section, a duplicate section
// and a file without any section are reported and give 1.

#include "zbErrorCodeManager.h"
#include "zbGetopts.h"
#include "zbMDFV4.h"
#include "zbReport.h"
#include "zbsvcVerbs.h"

int zbsvcMdf(int argc, char** argv)
{
    zbsvcOptions options("zbsvc mdf");
    options.DeclareSwitch("strip", "keep only the first word of each value");
    options.DeclareSwitch("stats", "print the statistics of the sections' dictionary");
    int status = zbsvcAnalyze(options, argc, argv, 1, -1);
    if (status >= 0)
        return status;
    QORListValQORString& values = *options.GetAllLineValues();
    const char* file = values[1].CastToCharPtr();

    zbMDFV4 set(4093);
    zbExtLastError.SetErrno(0);
    int failures = set.InsertFile(file);
    if (failures && set.IsEmpty())
    {
        // A file that could not be read was reported by the load.
        if (zbExtLastError.GetErrno() == 0)
            zbReportMessage("zbsvc.mdf.NoSection", {QORUnicodeString(file)});
        return 1;
    }
    if (options.GetSwitchStatus("strip"))
        set.StripSpaces();

    // A failed write stops the output; the end of the run reports it.
    if (values.Size() == 1)
        set.Dump(zbsvcOutput());
    for (int i = 2; i <= values.Size() && !zbsvcOutputError(); ++i)
    {
        const QORString& name = values[i];
        const QORString key = name.Std()[0] == '*' ? name : QORString(("*" + name.Std()).c_str());
        const zbMDFV4Section& section = set.Locate(key);
        if (!section.Size())
        {
            zbReportMessage("zbsvc.mdf.MissingSection",
                            {QORUnicodeString(file), QORUnicodeString(key)});
            ++failures;
            continue;
        }
        for (int v = 0; v < section.Size(); ++v)
        {
            zbsvcPuts(section[v]);
            zbsvcPutc('\n');
        }
    }
    if (options.GetSwitchStatus("stats") && !zbsvcOutputError())
        set.PrintStats(zbsvcOutput());
    return failures ? 1 : 0;
}
