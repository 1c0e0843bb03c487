// zbsvc msg [-k OUTERKEY] KEY [PARAM ...]: prints the catalog message KEY
// with its parameters under the outer key (default zbzbInfo), as any tool
// of the family reports.

#include <cstdio>
#include <cstring>
#include <vector>

#include "zbContext.h"
#include "zbReport.h"
#include "zbsvcVerbs.h"

int zbsvcMsg(int argc, char** argv)
{
    zbsvcOptions options("zbsvc msg");
    options.DeclareValue("k", "OUTERKEY", "outer key of the report (zbzbInfo by default)");
    int status = zbsvcAnalyze(options, argc, argv, 1, 7);
    if (status >= 0)
        return status;
    const QORString* outerValue = options.GetSwitchValue("k");
    const char* outerKey = outerValue ? outerValue->CastToCharPtr() : "zbzbInfo";
    const QORListValQORString& values = *options.GetAllLineValues();
    const char* key = values[1];

    for (const char* name : {outerKey, key})
        if (!zbExtContext.GetMsgMngr()->HasMsg(QORString(name)))
            return zbReportMessage("zbsvc.msg.UnknownKey", {QORUnicodeString(name)});
    std::vector<QORUnicodeString> params;
    for (int i = 2; i <= values.Size(); ++i)
        params.emplace_back(values[i]);
    QORUnicodeString message =
        zbExtContext.GetMsgMngr()->GetMsg(key, params.data(), static_cast<int>(params.size()));
    return zbExtContext.GetTraceMngr()->Print(zbKeyForTraceManager(outerKey), stdout, message) ? 1
                                                                                               : 0;
}
