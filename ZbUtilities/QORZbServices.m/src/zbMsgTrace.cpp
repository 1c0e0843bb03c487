#include "zbMsgTrace.h"

#include "zbContext.h"
#include "zbTraceManager.h"

zbMsgTrace::zbMsgTrace(const zbKeyForTraceManager& iKey, FILE* iStream, QORUnicodeString* iParams,
                       const int& iCount)
    : _Key(iKey), _Stream(iStream), _Params(nullptr), _NbParams(0)
{
    if (!iParams || iCount <= 0)
        return;
    _Params = new QORUnicodeString[static_cast<size_t>(iCount)];
    for (int i = 0; i < iCount; ++i)
        _Params[i] = iParams[i];
    _NbParams = iCount;
}

zbMsgTrace::~zbMsgTrace()
{
    delete[] _Params;
}

int zbMsgTrace::Print()
{
    return zbExtContext.GetTraceMngr()->Print(zbKeyForTraceManager(_Key), _Stream, _Params,
                                              _NbParams);
}
