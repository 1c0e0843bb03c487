#include "zbTraceManager.h"

#include <vector>

#include "zbContext.h"
#include "zbMsg.h"
#include "zbMsgManager.h"

zbTraceManager::zbTraceManager(const QORString& iXmlKeysFile)
    : _XmlKeysFile(iXmlKeysFile), _IsOpen(0), _XmlFd(-1)
{
}

zbTraceManager::~zbTraceManager() = default;

int zbTraceManager::Print(FILE* iStream, QORUnicodeString& ioText)
{
    if (iStream && !ioText.IsEmpty())
    {
        std::fprintf(iStream, "%s", ioText.ConvertToChar().CastToCharPtr());
        std::fflush(iStream);
    }
    return 0;
}

int zbTraceManager::Print(const zbKeyForTraceManager& iKey, FILE* iStream,
                          QORUnicodeString* iParams, const int& iCount)
{
    QORUnicodeString text = zbExtContext.GetMsgMngr()->GetMsg(iKey, iParams, iCount);
    if (iStream && !text.IsEmpty())
    {
        std::fprintf(iStream, "%s\n", text.ConvertToChar().CastToCharPtr());
        std::fflush(iStream);
    }
    return 0;
}

int zbTraceManager::Print(const zbKeyForTraceManager& iKey, FILE* iStream,
                          const QORUnicodeString& iP1)
{
    QORUnicodeString params[1] = {iP1};
    return Print(iKey, iStream, params, 1);
}

int zbTraceManager::Print(const zbKeyForTraceManager& iKey, FILE* iStream,
                          const QORUnicodeString& iP1, const QORUnicodeString& iP2)
{
    QORUnicodeString params[2] = {iP1, iP2};
    return Print(iKey, iStream, params, 2);
}

int zbTraceManager::Print(const zbKeyForTraceManager& iKey, FILE* iStream, zbMsg& iMessage)
{
    return Print(iKey, iStream, iMessage.GetTabMsg(), iMessage.GetTabMsgSize());
}

int zbTraceManager::PrintWithId(const zbKeyForTraceManagerWithId& iKey, FILE* iStream,
                                const QORUnicodeString& iId, QORUnicodeString* iParams,
                                const int& iCount)
{
    int count = iCount > 0 && iParams ? iCount : 0;
    std::vector<QORUnicodeString> params;
    params.reserve(static_cast<size_t>(count) + 1);
    params.push_back(iId);
    for (int i = 0; i < count; ++i)
        params.push_back(iParams[i]);
    return Print(zbKeyForTraceManager(iKey), iStream, params.data(), count + 1);
}
