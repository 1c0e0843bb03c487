// zbProcess and zbShellAction: statuses, captured output, what a child
// inherits; the action factory and command lines.

#include "zbActionFactory.h"
#include "zbActionIntf.h"
#include "zbActionLine.h"
#include "zbContext.h"
#include "zbOFStream.h"
#include "zbProcess.h"
#include "zbTestActions.h"
#include "zbTestSupport.h"

namespace
{
int Reap(zbProcess& ioProcess)
{
    int status = -2;
    ioProcess.Wait(status, 0);
    return status;
}

int StatusOf(zbProcess& ioProcess, const std::string& iCommand)
{
    zbActionIntf* action = zbtest::ShellAction(iCommand);
    int created = ioProcess.Create(action, 0);
    action->Release();
    return created ? created : Reap(ioProcess);
}
} // namespace

TEST(zbProcess, StartsAndStatuses)
{
    // Inline actions and starts that fail are counted by the parallel runs.
    zbProcess process;
    int status = 0;
    EXPECT_EQ(process.Create(nullptr, 0), -1);
    EXPECT_EQ(process.StillActive(status, WNOHANG), 0);
    EXPECT_EQ(status, -1);

    // A running child keeps the slot: a second Create is refused.
    zbActionIntf* slow = zbtest::ShellAction("sleep 0.3; exit 3");
    EXPECT_EQ(process.Create(slow, 0), 0);
    slow->Release();
    EXPECT_EQ(process.StillActive(status, WNOHANG), 1);
    zbTestInlineAction inline_;
    EXPECT_EQ(process.Create(&inline_, 0), -1);
    EXPECT_EQ(inline_._Runs, 0);
    EXPECT_EQ(Reap(process), 3);
    EXPECT_EQ(process.StillActive(status, WNOHANG) * 10 + status, 3); // stays reaped
    EXPECT_EQ(*process.GetProcessHandle(), 0);

    // The exit code byte; a signal is a failure, 128 plus its number.
    EXPECT_EQ(StatusOf(process, "exit 255"), 255);
    EXPECT_EQ(StatusOf(process, "kill -SEGV $$"), 139);
}

TEST(zbProcess, CapturedOutputSharedOrSeparate)
{
    zbtest::TmpDirScope tmp;
    const char* dir = tmp.Path().c_str();
    const std::string command = "printf 'o1 '; printf 'e1 50%%\\r' >&2; printf 'o2\\n'";
    {
        // One file for both streams, of mode 0600 (what it holds is
        // printed whole by the parallel runs).
        zbProcess process;
        process.SetTempIO(dir, "zbOutErr");
        EXPECT_EQ(StatusOf(process, command), 0);
        struct stat st;
        ASSERT_EQ(::stat(process.GetStdoutTmpIO(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u);
        process.ResetTempIO();
        EXPECT_TRUE(!process.GetStdoutTmpIO() && !process.GetStderrTmpIO());
        EXPECT_EQ(tmp.Entries(), "");
    }
    {
        // Standard error only, through the trace manager, as on a console.
        zbProcess process;
        process.SetTempIO(dir, nullptr, "err");
        EXPECT_EQ(process.GetStdoutTmpIO(), nullptr);
        zbtest::Capture out(1), err(2);
        EXPECT_EQ(StatusOf(process, command + "; printf 'XY' >&2"), 0);
        process.FlushTempIO(1);
        EXPECT_EQ(out.Stop(), "o1 o2\n"); // not captured: straight through
        EXPECT_EQ(err.Stop(), "XY 50%\n");
    }
    {
        // Two files; a vanished one is reported and the other still printed.
        zbProcess process;
        process.SetTempIO(dir, "out", "err");
        EXPECT_EQ(StatusOf(process, command), 0);
        std::string stdoutName = process.GetStdoutTmpIO();
        ::unlink(stdoutName.c_str());
        zbtest::Capture out(1), err(2);
        process.FlushTempIO(0);
        EXPECT_EQ(out.Stop(), "");
        EXPECT_EQ(err.Stop(),
                  "# System error on " + stdoutName + ": No such file or directory\ne1 50%\r");
    } // the destructor removes what is left
    EXPECT_EQ(tmp.Entries(), "");
}

TEST(zbShellAction, PlantedCaptureFilesRefused)
{
    zbtest::TmpDirScope dir;
    zbtest::WriteFile(dir / "target", "precious\n");
    for (bool link : {true, false})
    {
        zbProcess process;
        process.SetTempIO(dir.Path().c_str(), "zbOutErr");
        std::string name = process.GetStdoutTmpIO();
        if (link)
            ASSERT_EQ(::symlink((dir / "target").c_str(), name.c_str()), 0);
        else
            zbtest::WriteFile(name, "someone else's\n");
        zbtest::Capture err(2);
        EXPECT_EQ(StatusOf(process, "echo written"), 1);
        EXPECT_EQ(err.Stop(), "# System error on " + name + ": File exists\n");
        EXPECT_EQ(zbtest::ReadFile(dir / "target"), "precious\n");
    }
}

TEST(zbShellAction, ChildInheritsNoLibraryDescriptor)
{
    // Descriptors this test program holds open across exec before the
    // library opens anything are not the library's.
    std::set<int> before;
    for (int fd = 0; fd < 1024; ++fd)
        if (::fcntl(fd, F_GETFD) == 0)
            before.insert(fd);
    zbtest::TempDir dir;
    QORString trace((dir / "trace.xml").c_str());
    ASSERT_EQ(zbExtContext.SetXmlFileName(&trace, "zbProcessTests", 0), 1);
    zbProcess process;
    process.SetTempIO(dir.Path().c_str(), "zbOutErr");
    std::string capture = process.GetStdoutTmpIO();
    // The shell's descriptors, listed by another process.
    EXPECT_EQ(StatusOf(process, "ls /proc/$$/fd; true"), 0);
    std::istringstream fds(zbtest::ReadFile(capture));
    std::string leaked;
    int fd = 0, seen = 0;
    for (; fds >> fd; ++seen)
        if (fd > 2 && !before.count(fd))
            leaked += std::to_string(fd) + " ";
    EXPECT_GE(seen, 3);
    EXPECT_EQ(leaked, "");

    // A forked child that ends through exit runs the static destructors:
    // it must not write the parent's closing lines into the shared trace.
    pid_t pid = ::fork();
    if (pid == 0)
        std::exit(0);
    ::waitpid(pid, nullptr, 0);
    zbExtContext.GetTraceMngr()->CloseXmlFile();
    std::string xml = zbtest::ReadFile(trace.CastToCharPtr());
    EXPECT_EQ(xml.find("</Application>"), xml.rfind("</Application>")) << xml;
    EXPECT_EQ(zbtest::Run({"/usr/bin/xmllint", "--noout", trace.CastToCharPtr()})._Status, 0);
}

TEST(zbActionFactory, CreatesByClassName)
{
    const std::pair<const char*, bool> rows[] = {
        {"zbTestInlineAction", true}, {"zbShellAction", true},
        {"NoSuchClass", false},       {"zbBaseUnknown", false}, // a class, but not an action
        {"zbActionIntf", false},                                // an interface has no instances
    };
    for (const auto& [name, created] : rows)
    {
        zbtest::Capture err(2);
        zbActionIntf* action = zbActionFactory(name);
        std::string printed = err.Stop();
        EXPECT_EQ(action != nullptr, created) << name;
        if (action)
        {
            EXPECT_STREQ(action->IsA(), name);
            EXPECT_EQ(printed, "");
            action->Release();
        }
        else
            EXPECT_EQ(printed,
                      std::string("# Error: No action implementation named ") + name + "\n");
    }
}

TEST(zbActionLine, StaticAndDynamicParts)
{
    zbActionLine line;
    line.SetStaticPart("cc");
    line.AddToDynamicPart("a b", " ", 1);
    EXPECT_STREQ(line, "cc \"a b\"");
    EXPECT_EQ(line.GetStaticPart(), "cc");
    line.ResetDynamicPart();
    EXPECT_STREQ(line, "cc");

    QORListValQORString flags;
    flags.Append("-O2");
    flags.Append("-g");
    line.AddToStaticPart(flags, " ", 0);
    line.AddToStaticPart(QORString("-o %OUT%"), " ", 0);
    line.AddToDynamicPart(flags, ",", 1);
    EXPECT_STREQ(line, "cc -O2 -g -o %OUT%,\"-O2\",\"-g\"");
    // The static part changes alone; the whole command follows at the next
    // static change or reset.
    EXPECT_EQ(line.ReplaceIntoStaticPart("OUT", "x.o"), 13);
    EXPECT_EQ(line.GetStaticPart(), "cc -O2 -g -o x.o");
    EXPECT_STREQ(line, "cc -O2 -g -o %OUT%,\"-O2\",\"-g\"");
    EXPECT_EQ(line.ReplaceIntoStaticPart("OUT", "y.o"), -1);
    EXPECT_EQ(line.ReplaceIntoStaticPart(nullptr, "y.o"), -1);
    EXPECT_EQ(line.ReplaceIntoDynamicPart("OUT", "z.o"), 13);
    EXPECT_EQ(line.ReplaceIntoDynamicPart(nullptr, "z.o"), -1);
    line.AddToStaticPart(static_cast<const char*>(nullptr), nullptr, 1);
    EXPECT_STREQ(line, "cc -O2 -g -o x.o\"\"");
}
