#include "zbScript.h"

#include <cstdio>

#include "zbDirectories.h"
#include "zbMsg.h"
#include "zbOFStream.h"
#include "zbReport.h"

zbScript::zbScript(const zbScript& iOther) : _OnExit(iOther._OnExit)
{
    _Instructions.Append(iOther._Instructions);
}

zbScript::~zbScript()
{
    _Instructions.RemoveAll();
    _ExecutionPath = nullptr;
    _OnExit = nullptr;
    _Msg = nullptr;
}

void zbScript::AppendInstruction(QORListPtrzbInstruction& iInstructions)
{
    _Instructions.Append(iInstructions);
}

void zbScript::SetMsg(zbMsg* Msg, const zbKeyForTraceManager* BeginKey,
                      const zbKeyForTraceManager* EndKey, const zbKeyForTraceManager* ErrorKey)
{
    _Msg = Msg;
    _BeginKey = BeginKey;
    _EndKey = EndKey;
    _ErrorKey = ErrorKey;
}

void zbScript::PrintMsg(const zbKeyForTraceManager* iKey, FILE* iStream)
{
    if (_Msg && iKey)
        _Msg->Print(iStream, *iKey);
}

int zbScript::Execute(const int& Verbose)
{
    PrintMsg(_BeginKey, stdout);
    if (_ExecutionPath)
    {
        const char* current = zbGetPWD();
        _SavedPWD = current ? current : "";
        int rc = zbSetPWD(_ExecutionPath);
        if (Verbose)
            zbStdout.Print("+ cd %s [%d]\n", _ExecutionPath, rc);
        if (rc != 0)
        {
            zbReportLastError(_ExecutionPath);
            return _Exit(rc, Verbose);
        }
    }
    int failures = 0;
    for (auto* instruction : _Instructions)
    {
        if (!instruction || instruction->ExecuteAction(Verbose) == 0)
            continue;
        ++failures;
        PrintMsg(_ErrorKey, stderr);
        if (_ExitOnError)
            break;
    }
    return _Exit(failures, Verbose);
}

int zbScript::_Exit(const int& Result, const int& Verbose)
{
    if (_OnExit)
        _OnExit->ExecuteAction(Verbose);
    if (!_SavedPWD.IsNull() && zbSetPWD(_SavedPWD.CastToCharPtr()) != 0)
        zbReportLastError(_SavedPWD.CastToCharPtr());
    PrintMsg(_EndKey, stdout);
    return Result;
}
