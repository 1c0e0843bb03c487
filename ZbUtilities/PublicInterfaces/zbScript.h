#ifndef zbScript_H
#define zbScript_H
// A list of instructions run in order, optionally in a working directory
// of their own, counting the failures and stopping at the first one unless
// told to continue; an on-exit instruction runs last, then the working
// directory the script started in is restored.
//
// Execute: begin message (stdout); change to the execution path when set
// ("+ cd DIR [RC]" on zbStdout when verbose; a failure is reported and
// ends the run before any instruction, with the exit sequence); the
// instructions (each failure counted and reported under the error key);
// then the exit sequence: the on-exit instruction, the return to the saved
// directory, the end message.  The result is the number of failed
// instructions (at most 1 when exiting on error), or the failure of the
// change of directory.
//
// The saved directory is the one the process is really in: a PWD inherited
// from the environment that no longer names it is not believed.  It is
// kept after Execute, so a later Execute without execution path still
// returns to it.

#include "zbInstruction.h"
#include "zbString.h"

class zbScript
{
  public:
    zbScript() = default;
    // The same instructions and on-exit instruction; nothing else.
    zbScript(const zbScript& iOther);
    zbScript& operator=(const zbScript&) = delete;
    // The instructions are not destroyed.
    virtual ~zbScript();

    void SetExecutionPath(const char* iPath) { _ExecutionPath = iPath; }
    void SetExitOnError() { _ExitOnError = 1; }
    void SetContinueOnError() { _ExitOnError = 0; }
    void SetOnExitInstruction(zbInstruction& iInstruction) { _OnExit = &iInstruction; }
    void AppendInstruction(zbInstruction& iInstruction) { _Instructions.Append(&iInstruction); }
    void AppendInstruction(QORListPtrzbInstruction& iInstructions);
    void SetMsg(zbMsg* Msg, const zbKeyForTraceManager* BeginKey,
                const zbKeyForTraceManager* EndKey, const zbKeyForTraceManager* ErrorKey);

    int Execute(const int& Verbose);
    // The exit sequence alone; returns Result.
    int _Exit(const int& Result, const int& Verbose);

    const zbString& GetSavedPWD() const { return _SavedPWD; }

  private:
    void PrintMsg(const zbKeyForTraceManager* iKey, FILE* iStream);

    const char* _ExecutionPath = nullptr;
    zbString _SavedPWD;
    int _ExitOnError = 1;
    QORListPtrzbInstruction _Instructions;
    zbInstruction* _OnExit = nullptr;
    const zbKeyForTraceManager* _BeginKey = nullptr;
    const zbKeyForTraceManager* _EndKey = nullptr;
    const zbKeyForTraceManager* _ErrorKey = nullptr;
    zbMsg* _Msg = nullptr;
};

#endif
