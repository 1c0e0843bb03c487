// zbsvc rtvstat: statistics files of installed runtime views.
//
//   zbsvc rtvstat [-root DIR] [-o OUT] FW=DATAFILE ...
//       each element of each framework's data file with the size and
//       modification time of DIR/RTVNAME, written to OUT or printed
//   zbsvc rtvstat -list FILE [FW]
//       the elements of a statistics file, of one framework with FW

#include <cstring>
#include <string>

#include "zbFileStats.h"
#include "zbHashDico.h"
#include "zbRTViewDataStat.h"
#include "zbReport.h"
#include "zbsvcVerbs.h"

namespace
{
const unsigned int kFrameworks = static_cast<unsigned int>(zbHashCodeCollec::UpToNiceModulo(64));
const unsigned int kElements = static_cast<unsigned int>(zbHashCodeCollec::UpToNiceModulo(4096));

int List(zbsvcOptions& iOptions, const char* iPath)
{
    QORListValQORString* values = iOptions.GetAllLineValues();
    if (values && values->Size() > 1)
        return zbsvcUsageError(iOptions, "-list takes a file and at most one framework");
    zbRTViewDataStat data(kFrameworks, kElements);
    if (zbsvcCheckRead(data.Read(iPath, zbRTViewData::KeepPaths), iPath, "zbRTViewDataStat",
                       zbRTViewDataStat::_Magic) != 0)
        return 1;
    const char* only = values && values->Size() == 1 ? (*values)[1].CastToCharPtr() : nullptr;
    auto print = [](const zbHashDiczbRTViewElementStat& iElements)
    {
        for (const zbRTViewElementStat* element : iElements.Values())
        {
            element->Print(zbsvcOutput());
            zbsvcPutc('\n');
        }
    };
    if (only)
    {
        const zbHashDiczbRTViewElementStat* elements = data.GetListOfElementsForFramework(only);
        if (!elements)
            return zbReportMessage("zbsvc.rtvstat.NoFramework", {iPath, only});
        print(*elements);
    }
    else
        for (const zbHashDiczbRTViewElementStat* elements : data.GetFrameworks().Values())
            print(*elements);
    return 0;
}
} // namespace

int zbsvcRtvstat(int argc, char** argv)
{
    zbsvcOptions options("zbsvc rtvstat");
    options.DeclareValue("root", "DIR", "the install root the runtime-view names are under");
    options.DeclareValue("o", "OUT", "the statistics file to write (default: print it)");
    options.DeclareValue("list", "FILE", "print the elements of a statistics file");
    int status = zbsvcAnalyze(options, argc, argv, 0, -1);
    if (status >= 0)
        return status;
    if (QORString* list = options.GetSwitchValue("list"))
    {
        if (options.GetSwitchValue("root") || options.GetSwitchValue("o"))
            return zbsvcUsageError(options, "-list goes without -root and -o");
        return List(options, list->CastToCharPtr());
    }
    QORListValQORString* values = options.GetAllLineValues();
    if (!values || values->Size() == 0)
        return zbsvcUsageError(options, "no FW=DATAFILE given");
    QORString* rootValue = options.GetSwitchValue("root");
    std::string root = rootValue ? rootValue->CastToCharPtr() : ".";

    zbRTViewDataStat stats(kFrameworks, kElements);
    int failed = 0;
    int missing = 0;
    for (const QORString& value : *values)
    {
        const char* argument = value.CastToCharPtr();
        const char* equal = std::strchr(argument, '=');
        if (!equal || equal == argument || !equal[1])
            return zbsvcUsageError(options,
                                   (std::string("'") + argument + "' is not FW=DATAFILE").c_str());
        std::string framework(argument, static_cast<size_t>(equal - argument));
        zbRTViewData data(kElements);
        if (zbsvcCheckRead(data.Read(QORString(equal + 1), zbRTViewData::KeepPaths), equal + 1,
                           "zbRTViewData", zbRTViewData::_Magic) != 0)
        {
            failed = 1;
            continue;
        }
        QORListPtrzbRTViewElement elements;
        data.GetListOfElements(elements);
        for (const zbRTViewElement* element : elements)
        {
            zbRTViewElementStat stat;
            static_cast<zbRTViewElement&>(stat) = *element;
            stat._Framework = framework.c_str();
            zbFileStats file;
            std::string path = root + "/" + element->_RTVname.CastToCharPtr();
            if (file.Read(path.c_str()) == 0)
                stat.SetSizeAndLastModificationTime(file.SizeInBytes(),
                                                    file.LastModificationTime());
            else
            {
                ++missing;
                zbReportWarning("zbsvc.rtvstat.NotInstalled", {element->_RTVname.CastToCharPtr(),
                                                               framework.c_str(), root.c_str()});
            }
            stats.InsertForFramework(stat, zbRTViewData::MergeSilently);
        }
    }
    if (failed)
        return 1;
    QORString* output = options.GetSwitchValue("o");
    if (!output)
    {
        stats.Print(zbsvcOutput());
        return 0;
    }
    if (stats.Write(output->CastToCharPtr()) != 0)
        return 1;
    int count = 0;
    for (const zbHashDiczbRTViewElementStat* elements : stats.GetFrameworks().Values())
        count += elements->GetNbItems();
    zbsvcPrint("%s written (%d element%s, %d not installed)\n", output->CastToCharPtr(), count,
               count == 1 ? "" : "s", missing);
    return 0;
}
