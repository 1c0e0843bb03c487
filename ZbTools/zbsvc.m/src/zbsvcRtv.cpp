// zbsvc rtv: runtime-view data files.
//
//   zbsvc rtv merge [-dup] -o OUT IN ...           merges the files into OUT
//   zbsvc rtv list [-type MASK] [-exp MASK] FILE   prints the elements of FILE

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "zbGetopts.h"
#include "zbHashDico.h"
#include "zbOFStream.h"
#include "zbRTViewData.h"
#include "zbReport.h"
#include "zbsvcVerbs.h"

namespace
{
// Buckets of the sets the verb builds; the order of the records written
// follows from it.
const unsigned int kDimension = static_cast<unsigned int>(zbHashCodeCollec::UpToNiceModulo(4096));

// A data file read into ioData; a failure reported (1).
int ReadData(zbRTViewData& ioData, const char* iPath)
{
    return zbsvcCheckRead(ioData.Read(QORString(iPath), zbRTViewData::KeepPaths), iPath,
                          "zbRTViewData", zbRTViewData::_Magic);
}

int Merge(int argc, char** argv)
{
    zbsvcOptions options("zbsvc rtv merge");
    options.DeclareSwitch("dup",
                          "report elements given different runtime-view names by different files");
    options.DeclareValue("o", "OUT", "the merged data file, written only when it changes",
                         zbsvcOptions::Required);
    int status = zbsvcAnalyze(options, argc, argv, 1, -1);
    if (status >= 0)
        return status;
    const QORString* output = options.GetSwitchValue("o");
    zbRTViewData::DuplicateBehaviour behaviour = options.GetSwitchStatus("dup")
                                                     ? zbRTViewData::ReportDuplicates
                                                     : zbRTViewData::MergeSilently;

    // Each file after the first is read on its own (conflicts inside one
    // file are always reported), then merged in; nothing is written after
    // a failure.
    zbRTViewData merged(kDimension);
    int failed = 0;
    for (const QORString& input : options.LineValues())
    {
        if (merged.GetNbElements() == 0)
        {
            failed |= ReadData(merged, input.CastToCharPtr());
            continue;
        }
        zbRTViewData one(kDimension);
        if (ReadData(one, input.CastToCharPtr()) != 0)
            failed = 1;
        else
            merged.Insert(one, behaviour);
    }
    if (failed)
        return 1;
    int changed = 0;
    if (merged.WriteIfChanged(*output, changed) != 0)
        return 1;
    int count = merged.GetNbElements();
    zbsvcPrint("%s %s (%d element%s)\n", output->CastToCharPtr(), changed ? "written" : "unchanged",
               count, count == 1 ? "" : "s");
    return 0;
}

int List(int argc, char** argv)
{
    zbsvcOptions options("zbsvc rtv list");
    int typeMask = 0, exposureMask = 0;
    int status = zbsvcAnalyzeMasks(options, argc, argv, 1, 1, typeMask, exposureMask);
    if (status >= 0)
        return status;
    int index = 1;
    const char* path = *options.GetLineValue(index);
    zbRTViewData data(kDimension);
    if (ReadData(data, path) != 0)
        return 1;
    QORListPtrzbRTViewElement list;
    data.GetListOf(typeMask, exposureMask, list);
    for (const zbRTViewElement* element : list)
    {
        element->Print(zbsvcOutput());
        zbsvcPutc('\n');
    }
    return 0;
}

} // namespace

int zbsvcCheckRead(int iResult, const char* iPath, const char* iKind, const char* iMagic)
{
    switch (iResult)
    {
    case zbRTViewData::ReadDone:
        return 0;
    case zbRTViewData::ReadUnreadable:
        return zbReportLastError(iPath);
    case zbRTViewData::ReadEmpty:
        return zbReportMessage((std::string(iKind) + ".EmptyFile").c_str(), {iPath});
    case zbRTViewData::ReadLongLine:
        return zbReportMessage((std::string(iKind) + ".LongRecord").c_str(),
                               {iPath, std::to_string(zbRTViewElement::MaxRecordLength).c_str()});
    default:
        return zbReportMessage((std::string(iKind) + ".BadFirstLine").c_str(), {iPath, iMagic});
    }
}

const zbsvcVerb zbsvcRtvVerbs[] = {
    /* 1 */
    {"merge", Merge, "[-dup] -o OUT IN ...",
     "merge runtime-view data files into OUT, written only when it changes", nullptr},
    /* 2 */
    {"list", List, "[-type MASK] [-exp MASK] FILE",
     "print the elements of a runtime-view data file", nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

int zbsvcRtv(int argc, char** argv)
{
    return zbsvcRunTable("zbsvc rtv", zbsvcRtvVerbs, argc, argv);
}
