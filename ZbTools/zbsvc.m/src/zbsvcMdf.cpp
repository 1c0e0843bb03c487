// zbsvc mdf [-strip] [-stats] FILE [SECTION ...]: the values of the named
// sections of an MDF V4 file, one per line, in the order the sections are
// named; without a section, the dump of every section.  A section is named
// with or without its leading '*'.  A missing section, a duplicate section
// and a file without any section are reported and give 1.

#include <string>

#include "zbErrorCodeManager.h"
#include "zbGetopts.h"
#include "zbMDFV4.h"
#include "zbOFStream.h"
#include "zbReport.h"
#include "zbsvcVerbs.h"

namespace
{
// Writes iText to standard output; 0, or 1 when the write failed.
int WriteOut(std::string& ioText)
{
    int failed = ioText.empty()
                     ? 0
                     : zbStdout.Write(ioText.data(), static_cast<unsigned int>(ioText.size()));
    ioText.clear();
    return failed;
}
} // namespace

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

    int written = 0;
    if (values.Size() == 1)
    {
        set.Dump(zbStdout);
        written = zbStdout.GetErrno() != 0;
    }
    std::string text;
    for (int i = 2; i <= values.Size() && !written; ++i)
    {
        const QORString& name = values[i];
        const QORString key = name.Std()[0] == '*' ? name : QORString(("*" + name.Std()).c_str());
        const zbMDFV4Section& section = set.Locate(key);
        if (!section.Size())
        {
            written = WriteOut(text);
            zbStdout.Flush();
            zbReportMessage("zbsvc.mdf.MissingSection",
                            {QORUnicodeString(file), QORUnicodeString(key)});
            ++failures;
            continue;
        }
        for (int v = 0; v < section.Size(); ++v)
        {
            text.append(section[v]);
            text.push_back('\n');
        }
        if (text.size() >= (1u << 18))
            written = WriteOut(text);
    }
    if (!written)
        written = WriteOut(text);
    if (!written && options.GetSwitchStatus("stats"))
    {
        set.PrintStats(zbStdout);
        written = zbStdout.GetErrno() != 0;
    }
    if (written || zbStdout.Flush())
    {
        zbsvcReportSystemError("stdout", zbStdout.GetErrno());
        ++failures;
    }
    return failures ? 1 : 0;
}
