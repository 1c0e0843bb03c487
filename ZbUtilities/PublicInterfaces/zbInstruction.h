#ifndef zbInstruction_H
#define zbInstruction_H
// One action bound to optional follow-up instructions for success and for
// failure, and to an optional message printed when it begins, ends or
// fails.  Instructions form a tree of conditional steps; the action runs
// synchronously (a process handle it returns is not waited for).
//
// ExecuteAction prints the begin message (stdout), starts the action, runs
// the follow-up of its outcome, prints the error message (stderr) after a
// failing action's follow-up, then the end message (stdout), and returns
// the result of its own action: a follow-up's result changes nothing.

#include <cstdio>

#include "QORListPtr.h"

class QORBaseUnknown;
class zbActionIntf;
class zbKeyForTraceManager;
class zbMsg;

class zbInstruction
{
  public:
    zbInstruction() = default;
    // The action is Impl's zbActionIntf (one reference); an object that
    // does not implement it is a broken invariant.
    zbInstruction(QORBaseUnknown& Impl, zbInstruction* OnSuccess, zbInstruction* OnError);
    // Releases the action; the follow-ups are not destroyed.
    virtual ~zbInstruction();
    zbInstruction(const zbInstruction&) = delete;
    zbInstruction& operator=(const zbInstruction&) = delete;

    // Releases the current action, then takes Impl's; 0.
    int SetAction(QORBaseUnknown& Impl);
    void ReleaseAction();
    void SetOnSuccessInstruction(zbInstruction* iInstruction) { _OnSuccess = iInstruction; }
    void SetOnErrorInstruction(zbInstruction* iInstruction) { _OnError = iInstruction; }
    // No message is printed while Msg is null, nor under a null key.
    void SetMsg(zbMsg* Msg, const zbKeyForTraceManager* BeginKey,
                const zbKeyForTraceManager* EndKey, const zbKeyForTraceManager* ErrorKey);
    int ExecuteAction(const int Verbose);

    zbActionIntf* GetAction() const { return _Action; }

  private:
    void PrintMsg(const zbKeyForTraceManager* iKey, FILE* iStream);

    const zbKeyForTraceManager* _BeginKey = nullptr;
    const zbKeyForTraceManager* _EndKey = nullptr;
    const zbKeyForTraceManager* _ErrorKey = nullptr;
    zbMsg* _Msg = nullptr;
    zbActionIntf* _Action = nullptr;
    zbInstruction* _OnSuccess = nullptr;
    zbInstruction* _OnError = nullptr;
};

using QORListPtrzbInstruction = QORListPtr<zbInstruction>;

#endif
