// zbProcess and the library's zbShellAction: starting, waiting, exit
// statuses, captured output, refused capture files, and what a child
// inherits.

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "zbActionFactory.h"
#include "zbActionIntf.h"
#include "zbContext.h"
#include "zbProcess.h"
#include "zbShellAction.h"
#include "zbTestActions.h"
#include "zbTestSupport.h"

namespace
{
// Temporary names of the test land in its own directory (tempnam prefers
// TMPDIR to the directory it is given).
class ScopedTmpDir
{
  public:
    ScopedTmpDir() { ::setenv("TMPDIR", _Dir.Path().c_str(), 1); }
    ~ScopedTmpDir() { ::unsetenv("TMPDIR"); }
    const zbtest::TempDir& Dir() const { return _Dir; }
    std::string Entries() const
    {
        zbtest::ChildResult r = zbtest::Run({"/bin/ls", "-A", _Dir.Path()});
        return r._Out;
    }

  private:
    zbtest::TempDir _Dir;
};

int Reap(zbProcess& ioProcess)
{
    int status = -2;
    ioProcess.Wait(status, 0);
    return status;
}
} // namespace

TEST(zbProcess, StartsAndStatuses)
{
    zbProcess process;
    int status = 0;
    // No action: refused, nothing recorded.
    EXPECT_EQ(process.Create(nullptr, 0), -1);
    EXPECT_EQ(process.StillActive(status, WNOHANG), 0);
    EXPECT_EQ(status, -1);

    // Work done inside Start, and a start that fails with its code.
    zbTestInlineAction inline_;
    EXPECT_EQ(process.Create(&inline_, 0), 0);
    EXPECT_EQ(process.StillActive(status, WNOHANG), 0);
    EXPECT_EQ(status, 0);
    zbTestNoStartAction noStart;
    EXPECT_EQ(process.Create(&noStart, 0), 5);
    EXPECT_EQ(process.StillActive(status, WNOHANG), 0);
    EXPECT_EQ(status, 5);

    // A running child keeps the slot: a second Create is refused.
    zbActionIntf* slow = zbtest::ShellAction("sleep 0.3; exit 3");
    EXPECT_EQ(process.Create(slow, 0), 0);
    EXPECT_GT(*process.GetProcessHandle(), 0);
    EXPECT_EQ(process.StillActive(status, WNOHANG), 1);
    EXPECT_EQ(process.Create(&inline_, 0), -1);
    EXPECT_EQ(inline_._Runs, 1);
    EXPECT_EQ(process.Wait(status, 0), 0);
    EXPECT_EQ(status, 3);
    EXPECT_EQ(process.StillActive(status, WNOHANG), 0); // stays reaped
    EXPECT_EQ(status, 3);
    EXPECT_EQ(*process.GetProcessHandle(), 0);
    slow->Release();
    process.Reset();
    EXPECT_EQ(process.GetExitStatus(), -1);
}

TEST(zbProcess, ExitCodesAndSignals)
{
    // A signal is a failure: 128 plus its number, as shells report it.
    const struct
    {
        const char* _Command;
        int _Status;
    } rows[] = {
        {"exit 0", 0},          {"exit 1", 1},
        {"exit 255", 255},      {"exit 256", 0},
        {"kill -KILL $$", 137}, {"kill -SEGV $$", 139},
        {"kill -TERM $$", 143}, {"no-such-command-here 2>/dev/null", 127},
    };
    for (const auto& row : rows)
    {
        zbProcess process;
        zbActionIntf* action = zbtest::ShellAction(row._Command);
        EXPECT_EQ(process.Create(action, 0), 0) << row._Command;
        EXPECT_EQ(Reap(process), row._Status) << row._Command;
        action->Release();
    }
}

TEST(zbProcess, CapturedOutputSharedOrSeparate)
{
    ScopedTmpDir tmp;
    const char* dir = tmp.Dir().Path().c_str();
    const char* command = "printf 'o1 '; printf 'e1 ' >&2; printf 'o2\\n'";
    {
        // One file for both streams: copied once, to standard output.
        zbProcess process;
        process.SetTempIO(dir, "zbOutErr");
        ASSERT_NE(process.GetStdoutTmpIO(), nullptr);
        EXPECT_EQ(process.GetStdoutTmpIO(), process.GetStderrTmpIO());
        zbActionIntf* action = zbtest::ShellAction(command);
        ASSERT_EQ(process.Create(action, 0), 0);
        EXPECT_EQ(Reap(process), 0);
        struct stat st;
        ASSERT_EQ(::stat(process.GetStdoutTmpIO(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u);
        zbtest::Capture out(1), err(2);
        process.FlushTempIOToStream();
        EXPECT_EQ(err.Stop(), "");
        EXPECT_EQ(out.Stop(), "o1 e1 o2\n");
        process.ResetTempIO();
        EXPECT_EQ(process.GetStdoutTmpIO(), nullptr);
        EXPECT_EQ(process.GetStderrTmpIO(), nullptr);
        EXPECT_EQ(tmp.Entries(), "");
        action->Release();
    }
    {
        // Standard error only, through the trace manager.
        zbProcess process;
        process.SetTempIO(dir, nullptr, "err");
        EXPECT_EQ(process.GetStdoutTmpIO(), nullptr);
        zbActionIntf* action =
            zbtest::ShellAction(std::string(command) + "; printf '50%%\\r100%%' >&2");
        zbtest::Capture out(1), err(2);
        ASSERT_EQ(process.Create(action, 0), 0);
        EXPECT_EQ(Reap(process), 0);
        process.FlushTempIO(1);
        EXPECT_EQ(out.Stop(), "o1 o2\n");  // not captured: straight through
        EXPECT_EQ(err.Stop(), "100%0%\n"); // the shorter rewrite covers "e1 5"
        action->Release();
    }
    {
        // Two files; a vanished one is reported and the other still printed.
        zbProcess process;
        process.SetTempIO(dir, "out", "err");
        zbActionIntf* action = zbtest::ShellAction(command);
        ASSERT_EQ(process.Create(action, 0), 0);
        EXPECT_EQ(Reap(process), 0);
        std::string stdoutName = process.GetStdoutTmpIO();
        ::unlink(stdoutName.c_str());
        zbtest::Capture out(1), err(2);
        process.FlushTempIO(0);
        EXPECT_EQ(out.Stop(), "");
        EXPECT_EQ(err.Stop(),
                  "# System error on " + stdoutName + ": No such file or directory\ne1 ");
        action->Release();
    } // the destructor removes what is left
    EXPECT_EQ(tmp.Entries(), "");
}

TEST(zbShellAction, PlantedCaptureFilesRefused)
{
    ScopedTmpDir tmp;
    const zbtest::TempDir& dir = tmp.Dir();
    zbtest::WriteFile(dir / "target", "precious\n");
    for (const char* planted : {"symlink", "file"})
    {
        zbProcess process;
        process.SetTempIO(dir.Path().c_str(), "zbOutErr");
        std::string name = process.GetStdoutTmpIO();
        if (std::string(planted) == "symlink")
            ASSERT_EQ(::symlink((dir / "target").c_str(), name.c_str()), 0);
        else
            zbtest::WriteFile(name, "someone else's\n");
        zbActionIntf* action = zbtest::ShellAction("echo written");
        zbtest::Capture err(2);
        EXPECT_EQ(process.Create(action, 0), 1) << planted;
        EXPECT_EQ(err.Stop(), "# System error on " + name + ": File exists\n");
        EXPECT_EQ(*process.GetProcessHandle(), 0);
        EXPECT_EQ(zbtest::ReadFile(dir / "target"), "precious\n");
        action->Release();
    }
}

TEST(zbShellAction, CreatedByNameAndDescribed)
{
    zbActionIntf* action = zbActionFactory("zbShellAction");
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(action->IsAKindOf("zbActionIntf"));
    static_cast<zbShellAction*>(action)->SetCommand("pwd");
    EXPECT_STREQ(action->GetDescription(), "pwd");
    zbtest::TempDir dir;
    EXPECT_EQ(action->SetWorkingDirectory(dir.Path().c_str()), 0);
    action->SetStdoutFile((dir / "out").c_str());
    zbProcess process;
    zbtest::Capture out(1);
    ASSERT_EQ(process.Create(action, 1), 0);
    EXPECT_EQ(out.Stop(), "+ pwd\n"); // verbose: the command first
    EXPECT_EQ(Reap(process), 0);
    char real[4096];
    ASSERT_NE(::realpath(dir.Path().c_str(), real), nullptr);
    EXPECT_EQ(zbtest::ReadFile(dir / "out"), std::string(real) + "\n");
    action->Release();
}

TEST(zbShellAction, ChildInheritsNoLibraryDescriptor)
{
    // Descriptors this test program holds open across exec before the
    // library opens anything are not the library's.
    std::set<int> before;
    for (int fd = 0; fd < 1024; ++fd)
    {
        int flags = ::fcntl(fd, F_GETFD);
        if (flags >= 0 && !(flags & FD_CLOEXEC))
            before.insert(fd);
    }
    zbtest::TempDir dir;
    QORString trace((dir / "trace.xml").c_str());
    ASSERT_EQ(zbExtContext.SetXmlFileName(&trace, "zbProcessTests", 0), 1);

    zbProcess process;
    process.SetTempIO(dir.Path().c_str(), "zbOutErr");
    std::string capture = process.GetStdoutTmpIO();
    zbActionIntf* action = zbtest::ShellAction("exec ls -l /proc/self/fd");
    ASSERT_EQ(process.Create(action, 0), 0);
    EXPECT_EQ(Reap(process), 0);
    std::string listing = zbtest::ReadFile(capture);
    action->Release();

    // "lr-x------ 1 user group 64 date 3 -> /proc/1234/fd": ls's own
    // directory is the only descriptor the command opens itself.
    std::istringstream lines(listing);
    std::string line, leaked;
    int seen = 0;
    while (std::getline(lines, line))
    {
        size_t arrow = line.find(" -> ");
        if (arrow == std::string::npos)
            continue;
        size_t start = line.rfind(' ', arrow - 1) + 1;
        int fd = std::atoi(line.substr(start, arrow - start).c_str());
        std::string target = line.substr(arrow + 4);
        ++seen;
        bool own = target.find("/proc/") == 0 && target.find("/fd") != std::string::npos;
        if (fd > 2 && !before.count(fd) && !own)
            leaked += line + "\n";
        EXPECT_EQ(target.find("trace.xml"), std::string::npos) << line;
    }
    EXPECT_GE(seen, 3) << listing;
    EXPECT_EQ(leaked, "");

    // A forked child that ends through exit runs the static destructors:
    // it must not write the parent's closing lines into the shared trace.
    pid_t pid = ::fork();
    if (pid == 0)
        std::exit(0);
    int st = 0;
    ::waitpid(pid, &st, 0);
    zbExtContext.GetTraceMngr()->CloseXmlFile();
    std::string xml = zbtest::ReadFile(trace.CastToCharPtr());
    EXPECT_EQ(xml.find("</Application>"), xml.rfind("</Application>")) << xml;
    EXPECT_EQ(zbtest::Run({"/usr/bin/xmllint", "--noout", trace.CastToCharPtr()})._Status, 0)
        << xml;
}
