// Every writer of zbsvc with one of its I/O calls failing (zbFaultShim), call
// after call: the clean run's bytes, or a report naming a file with the old
// target whole and nothing beside it.  EINTR never fails anything.

#include <utime.h>

#include <filesystem>
#include <regex>

#include "zbTestSupport.h"
#include "zbTestWorkload.h"

namespace fs = std::filesystem;
using zbtest::ReadFile;
using zbtest::WriteFile;

namespace
{
const char kOld[] = "old content, kept whole\n";
// The errors each kind of call really gives, and EINTR (which the shim
// gives only to the calls a signal can interrupt: not to the rename kind).
const std::pair<const char*, std::vector<const char*>> kKinds[] = {
    {"open", {"ENOSPC", "EIO", "EACCES", "EINTR"}}, {"read", {"EIO", "EINTR"}},
    {"write", {"ENOSPC", "EIO", "EINTR"}},          {"fsync", {"ENOSPC", "EIO", "EINTR"}},
    {"rename", {"ENOSPC", "EIO", "EACCES"}},        {"close", {"EIO"}},
};

// What a row's target is to the run.
enum Keep
{
    kWhole,  // replaced only once complete: the old content stays on failure
    kAppend, // added to as the run goes: the old content stays in front
    kLog     // written as the run goes (a new trace): no old content
};

struct Row
{
    const char* _Name;
    std::vector<std::string> _Args; // "%" stands for the directory of the run
    const char* _Target;            // under out/, with old content before each run
    Keep _Keep;
    // What the target holds when no input could be read, for a writer that
    // writes what it could read (and fails): null when it never does.
    const char* _Partial = nullptr;
    const char* _Stdin = ""; // the run's standard input
};

// Rows: one per writer.  Inputs are in %/in, outputs under %/out.
// clang-format off
const Row kRows[] = {
    /*  1 */ {"block pack", {"block", "pack", "-v", "1.2.3", "%/in/data", "%/out/t"}, "t", kWhole},
    /*  2 */ {"block pack empty", {"block", "pack", "-v", "1.2.3", "%/in/empty", "%/out/t"}, "t", kWhole},
    /*  3 */ {"block pack big", {"block", "pack", "-crypt", "-v", "1.2.3", "%/in/big", "%/out/t"}, "t", kWhole},
    /*  4 */ {"block unpack", {"block", "unpack", "%/in/data.blk", "%/out/t"}, "t", kWhole},
    /*  5 */ {"hlist", {"hlist", "-ws", "%/in/ws", "-o", "%/out/t", "inc"}, "t", kWhole, "!<zbhl> v2.0.1\n"},
    /*  6 */ {"hmap", {"hmap", "-o", "%/out/t", "%/in/ws=%/in/list"}, "t", kWhole, "!<zbhl> v2.0.1\n"},
    /*  7 */ {"file copy", {"copytree", "%/in/data", "%/out"}, "data", kWhole},
    /*  8 */ {"copytree", {"copytree", "%/in/ws", "%/out"}, "ws/inc/a.h", kWhole},
    /*  9 */ {"copytree links", {"copytree", "%/in/ws", "%/out"}, "ws/inc/l.h", kWhole},
    /* 10 */ {"rtv merge", {"rtv", "merge", "-o", "%/out/t", "%/in/a.data", "%/in/b.data"}, "t", kWhole},
    /* 11 */ {"rtvstat", {"rtvstat", "-root", "%/in", "-o", "%/out/t", "A=%/in/a.data"}, "t", kWhole},
    /* 12 */ {"XML trace", {"-xml", "%/out/t", "rtvstat", "-root", "%/in", "A=%/in/a.data"}, "t", kLog},
    /* 13 */ {"XML trace append", {"-xmlappend", "%/out/t", "rtvstat", "-root", "%/in", "A=%/in/a.data"}, "t", kAppend},
    /* 14 */ {"rtview", {"rtview", "-os", "linux_a64", "-os", "win_b64", "-o", "%/out/t",
                         zbtest::SourcePath("examples/workspace/FwAlpha")}, "t", kWhole},
    /* 15 */ {"standard output", {"rtv", "list", "%/in/b.data"}, nullptr, kWhole},
    /* 16 */ {"standard output big", {"rtv", "list", "%/in/big.data"}, nullptr, kWhole},
    // A directory of the path that cannot be listed, whole or in part, is
    // reported: the same name in a later directory must not win silently.
    /* 17 */ {"find", {"find", "-path", "%/in/ws/inc:%/in", "a.h"}, nullptr, kWhole},
    /* 18 */ {"block pack stdin", {"block", "pack", "-v", "1.2.3", "-", "%/out/t"}, "t", kWhole, nullptr,
              "some bytes\nto keep\n"},
    /* 19 */ {"find names stdin", {"find", "-path", "%/in/ws/inc", "-names", "-"}, nullptr, kWhole, nullptr,
              "a.h\nb.h\nl.h\n"},
    // A directory that cannot be listed whole is reported, never taken
    // for a smaller one.
    /* 20 */ {"treediff", {"treediff", "%/in/ws", "%/in/ws"}, nullptr, kWhole},
    /* 21 */ {"ls", {"ls", "-r", "%/in/ws", "%/in"}, nullptr, kWhole},
};
// clang-format on

void MakeInputs(const std::string& iIn)
{
    fs::create_directories(iIn + "/ws/inc");
    WriteFile(iIn + "/data", "some bytes\nto keep\n");
    WriteFile(iIn + "/empty", "");
    std::string big, records = "!<zbRTViewData> v1.0.0\n";
    for (int i = 0; big.size() < 600000; ++i)
    {
        big += "line " + std::to_string(i) + " of a file read in pieces\n";
        if (i < 3000)
            records += "RTV/001/QXI lib/a" + std::to_string(i) + ".so|code/lib/o.so\n";
    }
    WriteFile(iIn + "/big", big);
    WriteFile(iIn + "/big.data", records);
    WriteFile(iIn + "/ws/inc/a.h", "#define A 1\n");
    WriteFile(iIn + "/ws/inc/b.h", "#define B 2\n");
    WriteFile(iIn + "/a.h", "#define A 0\n");
    fs::create_symlink("a.h", iIn + "/ws/inc/l.h");
    WriteFile(iIn + "/list", "!<zbhl> v2.0.1\n@inc\na.h\nb.h\n");
    WriteFile(iIn + "/a.data", "!<zbRTViewData> v1.0.0\nRTV/003/CUS lib/a.so|data\n"
                               "BTV/000/QXI inc/b.h|gone\n");
    WriteFile(iIn + "/b.data", "!<zbRTViewData> v1.0.1\nRTV/001/QXI lib/a.so|code/lib/o.so\n"
                               "DAT/002/CUS res/d.txt|resources/d.txt\n");
    struct utimbuf times = {1000000000, 1000000000};
    ::utime((iIn + "/data").c_str(), &times);
    zbtest::ChildResult packed =
        zbtest::Zbsvc({"block", "pack", "-v", "1.0.0", iIn + "/data", iIn + "/data.blk"});
    ASSERT_EQ(packed._Status, 0) << packed._Err;
}

// Every file under iDir by relative path, with its content.
std::map<std::string, std::string> Snapshot(const std::string& iDir)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(iDir))
        files[entry.path().lexically_relative(iDir).string()] =
            entry.is_symlink()        ? "-> " + fs::read_symlink(entry.path()).string()
            : entry.is_regular_file() ? ReadFile(entry.path().string())
                                      : "<dir>";
    return files;
}

// The shim's counts of each kind of call, and "injected" 1 when it made
// the fault.
using Counts = std::map<std::string, long>;

Counts ReadCounts(const std::string& iFile)
{
    Counts counts;
    std::istringstream in(ReadFile(iFile));
    for (std::string word; in >> word;)
        if (word == "injected")
            counts[word] = 1, std::getline(in, word);
        else
            in >> counts[word];
    return counts;
}

class FaultRunner
{
  public:
    FaultRunner(const Row& iRow, const std::string& iDir, const char* iProgram = "zbsvc")
        : _Row(iRow), _Dir(iDir), _Args{zbtest::Program(iProgram)}
    {
        for (const std::string& arg : iRow._Args)
            _Args.push_back(std::regex_replace(arg, std::regex("%"), iDir));
        _Out = iDir + "/out";
        _Target = iRow._Target ? _Out + "/" + iRow._Target : "";
    }

    zbtest::ChildResult Run(const char* iKind, long iN, const char* iErrno, Counts& oCounts)
    {
        fs::remove_all(_Out);
        fs::create_directories(_Out);
        if (!_Target.empty())
            WriteFile(_Target, kOld); // and the directories above it
        zbtest::ChildEnvironment env;
        const char* asan = std::getenv("ASAN_OPTIONS");
        // The shim comes after the sanitizer's runtime in the load order.
        env._Set["ASAN_OPTIONS"] =
            std::string(asan ? asan : "") + (asan ? ":" : "") + "verify_asan_link_order=0";
        env._Set["LD_PRELOAD"] = std::string(ZB_BINARY_DIR) + "/lib/libzbFaultShim.so";
        env._Set["ZB_FAULT_COUNT"] = _Dir + "/counts";
        if (iKind)
        {
            env._Set["ZB_FAULT_CALL"] = iKind;
            env._Set["ZB_FAULT_N"] = std::to_string(iN);
            env._Set["ZB_FAULT_ERRNO"] = iErrno;
        }
        ::unlink((_Dir + "/counts").c_str());
        zbtest::ChildResult result = zbtest::Run(_Args, env, _Row._Stdin);
        oCounts = ReadCounts(_Dir + "/counts");
        return result;
    }

    void Clean(Counts& oCounts)
    {
        _Clean = Run(nullptr, 0, nullptr, oCounts);
        ASSERT_EQ(_Clean._Status, 0) << _Row._Name << ": " << _Clean._Err;
        _CleanFiles = Snapshot(_Out);
        ASSERT_EQ(oCounts.size(), 6u) << _Row._Name << ": no counts from the shim";
        ASSERT_TRUE(_Target.empty() || _CleanFiles[_Row._Target] != kOld) << _Row._Name;
    }

    // Counts in ioInjected the faults made.
    void Check(const char* iKind, long iN, const char* iErrno, long& ioInjected)
    {
        Counts counts;
        zbtest::ChildResult r = Run(iKind, iN, iErrno, counts);
        const std::string what = std::string(_Row._Name) + ": " + iKind + " " + std::to_string(iN) +
                                 " " + iErrno + "\n" + r._Err;
        if (!counts.count("injected"))
            return; // this run made fewer calls of that kind
        ++ioInjected;
        ASSERT_EQ(r._Exited, 1) << what << "signal " << r._Signal;
        std::map<std::string, std::string> files = Snapshot(_Out);
        const bool eintr = std::string(iErrno) == "EINTR";
        if (r._Status == 0 || eintr)
        {
            EXPECT_EQ(r._Status, 0) << what;
            EXPECT_TRUE(eintr || r._Err.empty() || !_Clean._Err.empty())
                << what << "a report with status 0";
            EXPECT_EQ(r._Out, _Clean._Out) << what;
            EXPECT_EQ(files, _CleanFiles) << what;
            return;
        }
        // A failure's status is 1: any other (a sanitizer's, at exit) is a
        // fault of its own.
        EXPECT_EQ(r._Status, 1) << what;
        // The report names a file of the run, one of the library's own,
        // standard output or standard input (or the copy of it readers open).
        bool named = false;
        for (const char* name : {"standard output", "standard input", "/proc/self/fd/",
                                 "QORZbMessages.msgcat", "zbXmlKeys.mk"})
            named = named || r._Err.find(name) != std::string::npos;
        // An argument names a file after its '=', or several between ':'.
        for (const std::string& arg : _Args)
        {
            std::istringstream files(arg.substr(arg.find('=') + 1));
            for (std::string file; std::getline(files, file, ':');)
                named = named || (file.find('/') != std::string::npos &&
                                  r._Err.find(file) != std::string::npos);
        }
        EXPECT_TRUE(named) << what << "no file named";
        // Nothing but the files of a clean run, each whole.
        for (const auto& file : files)
        {
            auto clean = _CleanFiles.find(file.first);
            EXPECT_TRUE(clean != _CleanFiles.end()) << what << "left: " << file.first;
            if (clean == _CleanFiles.end() || _Row._Keep != kWhole)
                continue;
            const bool target = _Row._Target && file.first == _Row._Target;
            const bool old = target && file.second == kOld;
            const bool partial = target && _Row._Partial && file.second == _Row._Partial;
            EXPECT_TRUE(old || partial || file.second == clean->second)
                << what << "part of " << file.first;
        }
        if (_Target.empty() || _Row._Keep == kLog)
            return;
        if (_Row._Keep == kAppend)
        {
            EXPECT_EQ(files[_Row._Target].compare(0, sizeof kOld - 1, kOld), 0)
                << what << "old content lost";
            return;
        }
        const bool kept = files[_Row._Target] == kOld;
        // Or replaced whole, then the run failed on something else (its
        // output, its catalog), or written with what could be read.
        const bool other = r._Err.find(_Target) == std::string::npos;
        EXPECT_TRUE(kept || (other && files[_Row._Target] == _CleanFiles[_Row._Target]) ||
                    (_Row._Partial && files[_Row._Target] == _Row._Partial))
            << what << "old target lost";
    }

  private:
    const Row& _Row;
    std::string _Dir, _Out, _Target;
    std::vector<std::string> _Args;
    zbtest::ChildResult _Clean;
    std::map<std::string, std::string> _CleanFiles;
};
} // namespace

TEST(zbFaultInjection, EveryCallOfEveryWriterFails)
{
    long injected = 0;
    for (const Row& row : kRows)
    {
        zbtest::TempDir dir;
        MakeInputs(dir / "in");
        FaultRunner runner(row, dir.Path());
        Counts counts;
        runner.Clean(counts);
        if (HasFatalFailure())
            return;
        // Under memcheck every run costs a second: one call in twelve.
        const long step = zbtest::Workload(1, 12);
        for (const auto& [kind, errors] : kKinds)
            for (long n = 1; n <= counts[kind]; n += step)
                for (const char* error : errors)
                    runner.Check(kind, n, error, injected);
    }
    std::printf("faults injected %ld\n", injected);
}

// The kernel's copy refused as not offered here: the copy goes on through a
// buffer, over more than one block; any other error of it fails the copy.
// A source that cannot be opened is the file named.
TEST(zbFaultInjection, CopyGoesThroughABufferOnlyWhenTheKernelCopyIsNotOffered)
{
    zbtest::TempDir dir;
    MakeInputs(dir / "in");
    const Row row = {"copy", {"copy", "%/in/big", "%/out/big"}, "big", kWhole};
    FaultRunner runner(row, dir.Path(), "zbProbe");
    Counts counts;
    runner.Clean(counts);
    ASSERT_FALSE(HasFatalFailure());
    const long opens = counts["open"];
    // The run's first call of the write kind is the kernel's copy.
    for (const char* error :
         {"EXDEV", "ENOSYS", "EINVAL", "EOPNOTSUPP", "EPERM", "EBADF", "ENOSPC"})
    {
        const bool notOffered = std::strcmp(error, "ENOSPC") != 0;
        zbtest::ChildResult r = runner.Run("write", 1, error, counts);
        EXPECT_EQ(notOffered ? "0||"
                             : "1||# System error on " + dir / "out/big: No space left on device\n",
                  zbtest::Outcome(r))
            << error;
        EXPECT_TRUE(ReadFile(dir / "out/big") == (notOffered ? ReadFile(dir / "in/big") : kOld))
            << error;
    }
    std::string reports;
    for (long n = 1; n <= opens; ++n)
        reports += runner.Run("open", n, "EACCES", counts)._Err;
    EXPECT_NE(reports.find(dir / "in/big: Permission denied"), std::string::npos) << reports;
}
