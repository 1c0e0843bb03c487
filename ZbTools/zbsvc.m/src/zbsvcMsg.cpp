// zbsvc msg [-k OUTERKEY] KEY [PARAM ...]: prints the catalog message KEY
// with its parameters under the outer key (default zbzbInfo), as any tool
// of the family reports.

#include <cstdio>
#include <cstring>
#include <vector>

#include "zbContext.h"
#include "zbsvcVerbs.h"

namespace
{
// 1 when the catalog has a text for iKey (its own or a wildcard entry's).
int IsKnown(const char* iKey)
{
    return !zbExtContext.GetMsgMngr()->_GetCatalogMsg(QORString(iKey))->IsEmpty();
}
} // namespace

int zbsvcMsg(int argc, char** argv)
{
    const char* outerKey = "zbzbInfo";
    int first = 1;
    if (first < argc && !std::strcmp(argv[first], "-k"))
    {
        if (first + 1 >= argc)
            first = argc; // -k without its key: usage
        else
            outerKey = argv[first + 1], first += 2;
    }
    if (first >= argc || argv[first][0] == '-')
    {
        std::fprintf(stderr, "Usage: zbsvc msg [-k OUTERKEY] KEY [PARAM ...]\n");
        return 2;
    }
    const char* key = argv[first];

    for (const char* name : {outerKey, key})
        if (!IsKnown(name))
        {
            QORUnicodeString message =
                zbExtContext.GetMsgMngr()->GetMsg("zbsvc.msg.UnknownKey", QORUnicodeString(name));
            zbExtContext.GetTraceMngr()->Print(MSG_KEY_zbzbError, stderr, message);
            return 1;
        }
    std::vector<QORUnicodeString> params;
    for (int i = first + 1; i < argc; ++i)
        params.emplace_back(argv[i]);
    QORUnicodeString message =
        zbExtContext.GetMsgMngr()->GetMsg(key, params.data(), static_cast<int>(params.size()));
    return zbExtContext.GetTraceMngr()->Print(zbKeyForTraceManager(outerKey), stdout, message) ? 1
                                                                                               : 0;
}
