// What copytree and treediff share: the -links switch, how links to
// directories are treated, and the expansion of a tree.

#include <string>

#include "zbFileElement.h"
#include "zbReport.h"
#include "zbsvcVerbs.h"

void zbsvcDeclareLinkSwitch(zbsvcOptions& ioOptions, const char* iLinkValues, const char* iLinkHelp)
{
    ioOptions.DeclareValue("links", iLinkValues, iLinkHelp);
}

int zbsvcGetLinkSwitch(zbsvcOptions& ioOptions, int iMaxLinkMode, int& oLinkMode)
{
    oLinkMode = 1;
    if (QORString* text = ioOptions.GetSwitchValue("links"))
    {
        const std::string value = text->Std();
        if (value.size() != 1 || value[0] < '0' || value[0] > '0' + iMaxLinkMode)
        {
            const std::string range = iMaxLinkMode == 1 ? "0 or 1" : "0, 1 or 2";
            return zbsvcUsageError(ioOptions,
                                   ("-links takes " + range + ", not '" + value + "'").c_str());
        }
        oLinkMode = value[0] - '0';
    }
    // Links kept as links need no walking through them.
    zbFileElement::SymbolicLinkWithDirectory = oLinkMode == 0
                                                   ? zbFileElement::LinkToDirectoryFollowed
                                                   : zbFileElement::LinkToDirectoryKept;
    return 0;
}

int zbsvcExpandTree(zbFileElement& ioRoot, const char* iPath)
{
    if (ioRoot.Expand(RECURSIVE_FORCED_MODE) == 0)
        return 0;
    return zbReportMessage("zbsvc.tree.Unreadable",
                           {iPath, ioRoot.GetLastErrorName(), ioRoot.GetLastErrorMessage()});
}
