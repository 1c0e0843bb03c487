#include "zbMsg.h"

#include "zbContext.h"
#include "zbTraceManager.h"

void zbMsg::SetTabMsg(const QORUnicodeString* iP1, const QORUnicodeString* iP2,
                      const QORUnicodeString* iP3, const QORUnicodeString* iP4,
                      const QORUnicodeString* iP5, const QORUnicodeString* iP6)
{
    const QORUnicodeString* params[6] = {iP1, iP2, iP3, iP4, iP5, iP6};
    for (int i = 0; i < 6; ++i)
        if (params[i])
            _TabMsg[i] = *params[i];
}

void zbMsg::SetTabMsg(const char* iP1, const char* iP2, const char* iP3, const char* iP4,
                      const char* iP5, const char* iP6)
{
    const char* params[6] = {iP1, iP2, iP3, iP4, iP5, iP6};
    for (int i = 0; i < 6; ++i)
        if (params[i])
            _TabMsg[i] = params[i];
}

void zbMsg::Reset()
{
    for (QORUnicodeString& param : _TabMsg)
        param.Reset();
}

int zbMsg::Print(FILE* iStream, const zbKeyForTraceManager& iKey)
{
    return zbExtContext.GetTraceMngr()->Print(iKey, iStream, *this);
}
