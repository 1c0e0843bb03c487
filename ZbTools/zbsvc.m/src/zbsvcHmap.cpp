// zbsvc hmap -o MAPFILE [+]WS=LISTFILE ...: a header map from header lists
// in command-line order; +WS=LISTFILE marks the list into-framework.

#include <cstring>

#include "zbGetopts.h"
#include "zbHeaderListIntoWS.h"
#include "zbHeaderMap.h"
#include "zbOFStream.h"
#include "zbsvcVerbs.h"

int zbsvcHmap(int argc, char** argv)
{
    zbGetopts options("zbsvc hmap");
    options.AddValuedSwitch("o", "header-map file to write", 1);
    int status = zbsvcAnalyze(options, argc, argv, "[+]WS=LISTFILE...", 1, -1);
    if (status >= 0)
        return status;
    QORString* output = options.GetSwitchValue("o");
    if (!output)
    {
        zbStderr.Print("%s: -o is required\n", options.GetArgv0());
        options.Usage(zbStderr);
        return 2;
    }

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
            zbStderr.Print("%s: '%s' is not WS=LISTFILE\n", options.GetArgv0(), argument);
            options.Usage(zbStderr);
            lists.ApplyDelete();
            return 2;
        }
        lists.Append(
            new zbHeaderListIntoWS(QORString(workspace, static_cast<size_t>(equal - workspace)),
                                   QORString(equal + 1), intoFW));
    }
    zbHeaderMap map;
    status = map.BuildFromListOfHeaderLists(*output, lists) != 0 ? 1 : 0;
    lists.ApplyDelete();
    return status;
}
