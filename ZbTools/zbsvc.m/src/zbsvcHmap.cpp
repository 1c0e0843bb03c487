// zbsvc hmap -o MAPFILE [+]WS=LISTFILE ...: a header map from header lists
// in command-line order; +WS=LISTFILE marks the list into-framework
// (LISTFILE "-": standard input).  A relative WS is made absolute from the
// current directory.

#include <cerrno>
#include <cstring>
#include <string>

#include "zbDirectories.h"
#include "zbFileOperations.h"
#include "zbHeaderListIntoWS.h"
#include "zbHeaderMap.h"
#include "zbOFStream.h"
#include "zbReport.h"
#include "zbsvcVerbs.h"

int zbsvcHmap(int argc, char** argv)
{
    zbsvcOptions options("zbsvc hmap");
    options.DeclareValue("o", "MAPFILE", "header-map file to write", zbsvcOptions::Required);
    int status = zbsvcAnalyze(options, argc, argv, 1, -1);
    if (status >= 0)
        return status;
    const QORString& output = *options.GetSwitchValue("o");

    QORListPtrzbHeaderListIntoWS lists;
    for (const QORString& value : options.LineValues())
    {
        const char* argument = value.CastToCharPtr();
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
        // Every directory of the map is absolute: a relative workspace is
        // taken from the current directory.
        QORString root(workspace, static_cast<size_t>(equal - workspace));
        if (!zbIsItAnAbsolutePath(root.CastToCharPtr()))
        {
            const char* pwd = zbGetPWD();
            if (!pwd)
            {
                lists.ApplyDelete();
                return zbReportSystemError(".", errno);
            }
            root = QORString(pwd) + "/" + root;
        }
        lists.Append(new zbHeaderListIntoWS(root, QORString(listFile), intoFW));
    }
    zbHeaderMap map;
    status = map.BuildFromListOfHeaderLists(output, lists) != 0 ? 1 : 0;
    lists.ApplyDelete();
    return status;
}
