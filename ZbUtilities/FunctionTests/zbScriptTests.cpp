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
    zbtest::TempDir dir;
    const std::string missing = dir / "missing";
    // Continue on error, the directory to run in (null: none; verbose with
    // one: its "cd" shown), which steps ran.  A directory that cannot be
    // entered: no instruction, but the exit sequence.
    const std::tuple<bool, const char*, const char*> rows[] = {
        {false, nullptr, "1 1 0 1"},
        {true, nullptr, "1 1 1 1"},
        {false, dir.Path().c_str(), "1 1 0 1"},
        {true, missing.c_str(), "0 0 0 1"},
    };
    for (const auto& [keepOn, path, ran] : rows)
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
        if (keepOn)
            script.SetContinueOnError();
        script.SetExecutionPath(path);
        for (Step* step : {&a, &b, &c, &onExit})
            step->_Instruction.SetMsg(nullptr, nullptr, nullptr, nullptr);

        std::string before = Cwd();
        CaptureBoth both;
        EXPECT_EQ(script.Execute(path != nullptr), 1);
        std::string printed = both.Stop();
        EXPECT_EQ(Cwd(), before);
        std::string runs;
        for (Step* step : {&a, &b, &c, &onExit})
            runs += std::to_string(step->_Action->_Runs) + (step == &onExit ? "" : " ");
        EXPECT_EQ(runs, ran) << (path ? path : "-");

        const bool toMissing = path == missing.c_str();
        std::string expected = "# Begin of build step: script\n";
        if (path)
            expected += std::string("+ cd ") + path + (toMissing ? " [1]\n" : " [0]\n");
        if (toMissing)
            expected += "# System error on " + missing + ": No such file or directory\n";
        else
            expected +=
                "run A\nrun B\n# Build error: script\n" + std::string(keepOn ? "run C\n" : "");
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
