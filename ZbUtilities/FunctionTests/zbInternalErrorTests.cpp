// Fatal reports and signal traps in child processes; zbDebugTrace.

#include "zbInternalError.h"
#include "zbOFStream.h"
#include "zbTestSupport.h"

namespace
{
zbtest::ChildResult Probe(const std::vector<std::string>& iArgs,
                          const zbtest::ChildEnvironment& iEnv = {})
{
    std::vector<std::string> argv = {zbtest::Program("zbProbe")};
    argv.insert(argv.end(), iArgs.begin(), iArgs.end());
    return zbtest::Run(argv, iEnv);
}

zbtest::ChildEnvironment Release()
{
    zbtest::ChildEnvironment env;
    env._Unset.push_back("QOR_DEVELOPMENT_STAGE");
    return env;
}
} // namespace

TEST(zbInternalError, ReportsAndExitsWithTheStatus)
{
    const std::string fatal = "||# Fatal error: Internal error: ";
    EXPECT_EQ(
        "1" + fatal + "a != b at line -7 of ZbUtilities/QORZbServices.m/src/zbX\n",
        zbtest::Outcome(Probe(
            {"internal", "a != b", "ZbUtilities/QORZbServices.m/src/zbX", "-7", "1"}, Release())));
    // A status an exit would read as 0, or one outside the signals' table,
    // ends with 1.
    for (const auto& [status, code] : {std::pair{"3", "3"}, {"0", "1"}, {"256", "1"}})
        EXPECT_EQ(code + fatal + "Assertion failed at line 12 of <unknown>\n",
                  zbtest::Outcome(Probe({"internal", "-", "-", "12", status}, Release())));
}

TEST(zbInternalError, DevelopmentBuildAddsAStackTrace)
{
    zbtest::ChildEnvironment env;
    env._Set["QOR_DEVELOPMENT_STAGE"] = "1";
    for (const char* status : {"0", "256"})
        EXPECT_EQ(1, Probe({"internal", "-", "-", "12", status}, env)._Status) << status;
    zbtest::ChildResult r = Probe({"internal", "-", "-", "12", "3"}, env);
    ASSERT_EQ(1, r._Exited);
    EXPECT_EQ(3, r._Status);
    EXPECT_EQ(
        0u, r._Err.find("# Fatal error: Internal error: Assertion failed at line 12 of <unknown>\n"
                        "# Fatal error: Process aborted (status 3)\n#0 "))
        << r._Err;
    EXPECT_NE(std::string::npos,
              r._Err.find("zbInternalError(char const*, char const*, int, int)"));
    EXPECT_NE(std::string::npos, r._Err.find(" main ")) << r._Err;

    // The foundation's own fatal error prints with the same printer, on a
    // stream, demangled by the platform.
    r = Probe({"fatal"}, env);
    EXPECT_EQ(0u,
              r._Err.find("Fatal error: probe (zbProbe, line 1)\n"
                          "#0 QORFatalError(char const*, char const*, int) (libKX0CORE.so.1+0x"))
        << r._Err;
    EXPECT_NE(std::string::npos, r._Err.find("\n#1 main (zbProbe+0x")) << r._Err;
}

TEST(zbContextualInterrupt, TrappedSignalsEndWithTheirNumber)
{
    // The signal goes once the probe has made its file, its traps set.
    zbtest::TempDir dir;
    const std::string ready = dir / "ready";
    for (int sig : {SIGINT, SIGTERM})
    {
        ::unlink(ready.c_str());
        zbtest::ChildResult r = zbtest::RunSignalledWhenReady(
            {zbtest::Program("zbProbe"), "trap", ready}, {},
            [&ready] { return ::access(ready.c_str(), F_OK) == 0; }, sig);
        ASSERT_EQ(1, r._Exited) << "signal " << sig << " killed the probe before its trap";
        EXPECT_EQ(sig, r._Status);
        EXPECT_EQ("ready\n", r._Out);
        EXPECT_EQ("# Fatal error: Process interrupted\n", r._Err);
    }
    // A trace given as a descriptor after the traps gets the report too.
    EXPECT_EQ("2||# Fatal error: Process interrupted\n",
              zbtest::Outcome(Probe({"xml", dir / "t.xml", "descriptor"})));
    EXPECT_EQ("<Fatal Text=\"Process interrupted\"/>\n", zbtest::ReadFile(dir / "t.xml"));
}

TEST(zbContextualAbort, AbortEndsWithSixAndAStackTrace)
{
    zbtest::ChildResult r = Probe({"abort"});
    ASSERT_EQ(1, r._Exited);
    EXPECT_EQ(6, r._Status);
    EXPECT_EQ(0u, r._Err.find("# Fatal error: Process aborted (status 6)\n#0 ")) << r._Err;
    EXPECT_NE(std::string::npos, r._Err.find(" zbContextualAbort(int) (libQORZbServices.so.1+0x"));
    EXPECT_NE(std::string::npos, r._Err.find("abort (libc"));
}

TEST(zbDebugTrace, FormatsIntoTheStreamFile)
{
    zbtest::TempDir dir;
    std::string file = dir / "trace.txt";
    {
        zbOFStream out(file.c_str(), "w");
        out << "before ";
        zbDebugTrace(out, "%s=%d;", "x", 42);
        zbDebugTrace(out, nullptr);
        out << "after";
    }
    EXPECT_EQ("before x=42;after", zbtest::ReadFile(file));
}
