// Instructions and scripts: follow-ups, messages in order, errors, on-exit, cwd.

#include "zbBaseUnknown.h"
#include "zbContext.h"
#include "zbInstruction.h"
#include "zbMsg.h"
#include "zbScript.h"
#include "zbTestActions.h"
#include "zbTestSupport.h"

namespace
{
// Standard output and error into one capture, so that their order shows.
class CaptureBoth
{
  public:
    CaptureBoth() : _Out(1) { _SavedErr = ::dup(2), ::dup2(1, 2); }
    std::string Stop()
    {
        std::fflush(stderr);
        ::dup2(_SavedErr, 2), ::close(_SavedErr);
        return _Out.Stop();
    }

  private:
    zbtest::Capture _Out;
    int _SavedErr;
};

// An instruction around an inline action of the given result, with its own
// message "NAME" under the step keys (error under zbzbError).
struct Step
{
    explicit Step(const char* iName, int iResult)
        : _Action(new zbTestInlineAction(iResult, std::string("run ") + iName))
    {
        _Instruction.SetAction(*_Action);
        _Action->Release(); // the instruction holds its own reference
        _Msg.SetTabMsg(iName);
        _Instruction.SetMsg(&_Msg, &MSG_KEY_stepStart, &MSG_KEY_stepEnd, &MSG_KEY_zbzbError);
    }
    zbTestInlineAction* _Action;
    zbMsg _Msg;
    zbInstruction _Instruction;
};

std::string Cwd()
{
    char buffer[4096];
    return ::getcwd(buffer, sizeof buffer) ? buffer : "";
}
} // namespace

TEST(zbInstruction, FollowUpsRunInsideTheirParent)
{
    // A failing parent: the error chain runs, then the parent's error
    // message, then its end message; the chain's result changes nothing.
    for (int onErrorResult : {0, 9})
    {
        Step parent("P", 4), onSuccess("S", 0), onError("E", onErrorResult);
        parent._Instruction.SetOnSuccessInstruction(&onSuccess._Instruction);
        parent._Instruction.SetOnErrorInstruction(&onError._Instruction);
        CaptureBoth both;
        EXPECT_EQ(parent._Instruction.ExecuteAction(0), 4);
        EXPECT_EQ(both.Stop(), "# Start of step: P\nrun P\n# Start of step: E\nrun E\n" +
                                   std::string(onErrorResult ? "# Error: E\n" : "") +
                                   "# End of step: E\n# Error: P\n# End of step: P\n");
    }
}

TEST(zbInstruction, AnObjectThatIsNoActionIsABrokenInvariant)
{
    EXPECT_DEATH(zbInstruction().ExecuteAction(0), "_Action != NULL");
    void* object = nullptr;
    ASSERT_EQ(QORCreateClassInstance("zbBaseUnknown", IID_QORBaseUnknown, &object), 0);
    QORBaseUnknown& notAnAction = *static_cast<QORBaseUnknown*>(object);
    EXPECT_DEATH(zbInstruction(notAnAction, nullptr, nullptr), "_Action != NULL");
    notAnAction.Release();
}

TEST(zbScript, StopOrContinueOnErrorAndOnExit)
{
    struct Row
    {
        bool _Continue;
        const char* _Path; // null: none
        int _Verbose;
        int _Result;
        const char* _Runs; // which steps ran
    };
    zbtest::TempDir dir;
    std::string missing = dir / "missing";
    const Row rows[] = {
        {false, nullptr, 0, 1, "1 1 0 1"},
        {true, nullptr, 0, 1, "1 1 1 1"},
        {false, dir.Path().c_str(), 1, 1, "1 1 0 1"},
        // A directory that cannot be entered: no instruction, but the exit
        // sequence.
        {true, missing.c_str(), 1, 1, "0 0 0 1"},
    };
    for (const Row& row : rows)
    {
        Step a("A", 0), b("B", 6), c("C", 0), onExit("X", 0);
        zbScript script;
        script.AppendInstruction(a._Instruction);
        QORListPtrzbInstruction rest;
        rest.Append(&b._Instruction);
        rest.Append(&c._Instruction);
        script.AppendInstruction(rest);
        script.SetOnExitInstruction(onExit._Instruction);
        zbMsg scriptMsg;
        scriptMsg.SetTabMsg("script");
        script.SetMsg(&scriptMsg, &MSG_KEY_makeBegin, &MSG_KEY_makeEnd, &MSG_KEY_makeError);
        if (row._Continue)
            script.SetContinueOnError();
        script.SetExecutionPath(row._Path);
        for (Step* step : {&a, &b, &c, &onExit})
            step->_Instruction.SetMsg(nullptr, nullptr, nullptr, nullptr);

        std::string before = Cwd();
        CaptureBoth both;
        EXPECT_EQ(script.Execute(row._Verbose), row._Result);
        std::string printed = both.Stop();
        EXPECT_EQ(Cwd(), before);
        std::string runs;
        for (Step* step : {&a, &b, &c, &onExit})
            runs += std::to_string(step->_Action->_Runs) + (step == &onExit ? "" : " ");
        EXPECT_EQ(runs, row._Runs) << (row._Path ? row._Path : "-");

        bool toMissing = row._Path == missing.c_str();
        std::string expected = "# Begin of build step: script\n";
        if (row._Path && row._Verbose)
            expected += std::string("+ cd ") + row._Path + (toMissing ? " [1]\n" : " [0]\n");
        if (toMissing)
            expected += "# System error on " + missing + ": No such file or directory\n";
        else
            expected += "run A\nrun B\n# Build error: script\n" +
                        std::string(row._Continue ? "run C\n" : "");
        expected += "run X\n# End of build step: script\n";
        EXPECT_EQ(printed, expected);
    }
}

TEST(zbScript, ReturnsToTheDirectoryItReallyStartedIn)
{
    zbtest::TempDir dir;
    std::string start = Cwd();
    // A PWD inherited from elsewhere no longer names the current directory.
    zbtest::ScopedEnv pwd("PWD", dir.Path().c_str());

    Step fails("F", 2);
    fails._Instruction.SetMsg(nullptr, nullptr, nullptr, nullptr);
    zbScript script;
    script.AppendInstruction(fails._Instruction);
    script.SetExecutionPath("/");
    // Each run: its result, where it left the process, the directory saved.
    // The saved directory stays: a later run without a path returns to it;
    // a copy has the instructions but no directory of its own.
    zbtest::Capture out(1);
    std::string runs = std::to_string(script.Execute(0));
    runs += " " + Cwd();
    runs += " " + std::string(script.GetSavedPWD().CastToCharPtr()) + "\n";
    EXPECT_EQ(::chdir("/"), 0);
    zbScript copy(script);
    runs += std::to_string(copy.Execute(0));
    runs += " " + Cwd() + "\n";
    script.SetExecutionPath(nullptr);
    runs += std::to_string(script.Execute(0));
    runs += " " + Cwd() + "\n";
    EXPECT_EQ(out.Stop(), "run F\nrun F\nrun F\n");
    EXPECT_EQ(runs, "1 " + start + " " + start + "\n1 /\n1 " + start + "\n");
}
