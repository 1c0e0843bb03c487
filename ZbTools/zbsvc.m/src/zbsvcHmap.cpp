// zbsvc hmap -o MAPFILE [+]WS=LISTFILE ...: a header map from header lists
// in command-line order; +WS=LISTFILE marks the list into-framework
// (LISTFILE "-": standard input).

#include <cstring>
#include <string>

#include "zbHeaderListIntoWS.h"
#include "zbHeaderMap.h"
#include "zbOFStream.h"
#include "zbsvcVerbs.h"

int zbsvcHmap(int argc, char** argv)
{
    zbsvcOptions options("zbsvc hmap");
    options.DeclareValue("o", "MAPFILE", "header-map file to write");
    int status = zbsvcAnalyze(options, argc, argv, 1, -1);
    if (status >= 0)
        return status;
    QORString* output = options.GetSwitchValue("o");
    if (!output)
        return zbsvcUsageError(options, "-o is required");

    QORListPtrzbHeaderListIntoWS lists;
    QORListValQORString* arguments = options.GetAllLineValues();
    for (int i = 1; arguments && i <= arguments->Size(); ++i)
    {
        const char* argument = (*arguments)[i];
        int intoFW = argument[0] == '+';
        const char* workspace = argument + intoFW;
        const char* equal = std::strchr(workspace, '=');
        if (!equal || equal == workspace || !equal[1])
        {
            lists.ApplyDelete();
            std::string text = std::string("'") + argument + "' is not WS=LISTFILE";
            return zbsvcUsageError(options, text.c_str());
        }
        const char* listFile = zbsvcInputName(equal + 1);
        if (!listFile)
        {
            lists.ApplyDelete();
            return 1;
        }
        lists.Append(
            new zbHeaderListIntoWS(QORString(workspace, static_cast<size_t>(equal - workspace)),
                                   QORString(listFile), intoFW));
    }
    zbHeaderMap map;
    status = map.BuildFromListOfHeaderLists(*output, lists) != 0 ? 1 : 0;
    lists.ApplyDelete();
    return status;
}
