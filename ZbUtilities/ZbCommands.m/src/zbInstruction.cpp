#include "zbInstruction.h"

#include <cstdio>

#include "zbActionIntf.h"
#include "zbContext.h"
#include "zbInternalError.h"
#include "zbMsg.h"
#include "zbTraceManager.h"

namespace
{
const char kSource[] = "ZbUtilities/ZbCommands.m/src/zbInstruction";

zbActionIntf* ActionOf(QORBaseUnknown& iImpl)
{
    void* action = nullptr;
    iImpl.QueryInterface(zbActionIntf::ClassId(), &action);
    if (!action)
        zbInternalError("_Action != NULL", kSource, __LINE__, 1);
    return static_cast<zbActionIntf*>(static_cast<QORBaseUnknown*>(action));
}
} // namespace

zbInstruction::zbInstruction(QORBaseUnknown& Impl, zbInstruction* OnSuccess, zbInstruction* OnError)
    : _Action(ActionOf(Impl)), _OnSuccess(OnSuccess), _OnError(OnError)
{
}

zbInstruction::~zbInstruction()
{
    ReleaseAction();
}

int zbInstruction::SetAction(QORBaseUnknown& Impl)
{
    ReleaseAction();
    _Action = ActionOf(Impl);
    return 0;
}

void zbInstruction::ReleaseAction()
{
    if (_Action)
        _Action->Release();
    _Action = nullptr;
}

void zbInstruction::SetMsg(zbMsg* Msg, const zbKeyForTraceManager* BeginKey,
                           const zbKeyForTraceManager* EndKey, const zbKeyForTraceManager* ErrorKey)
{
    _Msg = Msg;
    _BeginKey = BeginKey;
    _EndKey = EndKey;
    _ErrorKey = ErrorKey;
}

void zbInstruction::PrintMsg(const zbKeyForTraceManager* iKey, FILE* iStream)
{
    if (_Msg && iKey)
        zbExtContext.GetTraceMngr()->Print(*iKey, iStream, *_Msg);
}

int zbInstruction::ExecuteAction(const int Verbose)
{
    if (!_Action)
        zbInternalError("_Action != NULL", kSource, __LINE__, 1);
    PrintMsg(_BeginKey, stdout);
    int handle = 0;
    int result = _Action->Start(handle, Verbose);
    if (result != 0)
    {
        if (_OnError)
            _OnError->ExecuteAction(Verbose);
        PrintMsg(_ErrorKey, stderr);
    }
    else if (_OnSuccess)
        _OnSuccess->ExecuteAction(Verbose);
    PrintMsg(_EndKey, stdout);
    return result;
}
