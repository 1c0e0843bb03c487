// zbsvc hlist [-subdir] -ws WS -o LISTFILE DIR ...: the header-list file of
// the directories WS/./DIR, each DIR named inside the workspace (an
// absolute DIR is taken inside WS when it lies under it, refused when not).

#include <string>

#include "zbContext.h"
#include "zbDirectories.h"
#include "zbErrorCodeManager.h"
#include "zbFileOperations.h"
#include "zbHeaderList.h"
#include "zbOFStream.h"
#include "zbPathSeparators.h"
#include "zbReport.h"
#include "zbTraceManager.h"
#include "zbsvcVerbs.h"

namespace
{
// An absolute DIR under the workspace: its name inside it (the workspace
// made absolute from the current directory when it is not).  Empty when
// DIR is outside.
std::string InsideWorkspace(const std::string& iWorkspace, const std::string& iDir)
{
    std::string root = iWorkspace;
    if (!zbIsItAnAbsolutePath(root.c_str()))
        if (const char* pwd = zbGetPWD())
            root = std::string(pwd) + "/" + root;
    while (!root.empty() && root.back() == '/')
        root.pop_back();
    std::string dir = iDir + "/";
    if (dir.compare(0, root.size() + 1, root + "/") != 0)
        return "";
    size_t start = iDir.find_first_not_of('/', root.size());
    return start == std::string::npos ? "." : iDir.substr(start);
}
} // namespace

int zbsvcHlist(int argc, char** argv)
{
    zbsvcOptions options("zbsvc hlist");
    options.DeclareSwitch("subdir", "list the directories as subdirectory include paths");
    options.DeclareValue("ws", "WS", "workspace root", zbsvcOptions::Required);
    options.DeclareValue("o", "LISTFILE", "header-list file to write", zbsvcOptions::Required);
    int status = zbsvcAnalyze(options, argc, argv, 1, -1);
    if (status >= 0)
        return status;
    const QORString* workspace = options.GetSwitchValue("ws");
    const QORString* output = options.GetSwitchValue("o");
    int subdir = options.GetSwitchStatus("subdir") ? 1 : 0;

    // One directory at a time, so that one that cannot be listed is named.
    status = 0;
    zbHeaderList list;
    QORListValQORString one;
    for (const QORString& argument : options.LineValues())
    {
        std::string directory = argument.Std();
        if (zbIsItAnAbsolutePath(directory.c_str()) &&
            (directory = InsideWorkspace(workspace->Std(), directory)).empty())
        {
            const std::string text = argument.Std() + " is not inside the workspace " +
                                     workspace->Std() + ": a DIR is named inside WS";
            return zbsvcUsageError(options, text.c_str());
        }
        QORString path = *workspace + zbWSPathSeparator + directory.c_str();
        one.RemoveAll();
        one.Append(path);
        int before = list.GetListOfHeaderDirectories().Size();
        if (list.ListDirectories(one, subdir) == before)
        {
            status = zbReportLastError(path.CastToCharPtr());
        }
    }
    if (list.WriteFile(*output) != 0)
        status = 1;
    return status;
}
