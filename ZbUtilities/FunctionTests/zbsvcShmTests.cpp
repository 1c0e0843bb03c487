// zbsvc shm, end to end; after every server, no segment it created is left.

#include <spawn.h>

#include "zbSharedMemoryC.h"
#include "zbTestSupport.h"

extern char** environ;

using namespace zbtest;

namespace
{
// A zbsvc server running in the background, its standard output on a pipe.
class Server
{
  public:
    explicit Server(const std::vector<std::string>& iArgs)
    {
        std::vector<std::string> args{zbtest::Program("zbsvc"), "shm", "serve"};
        args.insert(args.end(), iArgs.begin(), iArgs.end());
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(&a[0]);
        argv.push_back(nullptr);
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        posix_spawn_file_actions_addopen(&actions, 2, (_Dir / "err").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_addclose(&actions, fds[1]);
        if (posix_spawn(&_Pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            _Pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        _Out = fds[0];
    }
    ~Server()
    {
        if (_Pid > 0)
            Stop(SIGKILL);
        if (_Out >= 0)
            ::close(_Out);
    }

    int Pid() const { return _Pid; }
    std::string ReadLine()
    {
        std::string line;
        char c;
        while (::read(_Out, &c, 1) == 1 && c != '\n')
            line += c;
        return line;
    }
    // Sends iSignal (none when 0), waits for the end (a server still
    // running after 20 seconds is killed); the outcome of the server with
    // the rest of its output.
    std::string Stop(int iSignal)
    {
        if (iSignal)
            ::kill(_Pid, iSignal);
        int status = 0;
        for (int waited = 0; ::waitpid(_Pid, &status, WNOHANG) == 0; ++waited)
        {
            if (waited == 2000)
                ::kill(_Pid, SIGKILL);
            ::usleep(10000);
        }
        _Pid = -1;
        std::string rest;
        for (std::string line; !(line = ReadLine()).empty();)
            rest += line + "\n";
        const std::string exit = WIFEXITED(status) ? std::to_string(WEXITSTATUS(status))
                                                   : "signal " + std::to_string(WTERMSIG(status));
        return exit + "|" + rest + "|" + zbtest::ReadFile(_Dir / "err");
    }

  private:
    zbtest::TempDir _Dir;
    pid_t _Pid = -1;
    int _Out = -1;
};

std::string Block(int iNumber)
{
    std::string data(1024, '\0');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 131 + static_cast<size_t>(iNumber) * 7 + i / 97);
    return data;
}
} // namespace

TEST(zbsvcShm, ServeListGetAndStop)
{
    zbtest::TempDir dir;
    const std::string text = dir / "text", empty = dir / "empty", binary = dir / "binary";
    WriteFile(text, "hello\n");
    WriteFile(empty, "");
    WriteFile(binary, std::string("\0\1\2|\n\377", 6));
    for (int signal : {SIGTERM, SIGINT})
    {
        Server server({"-size", "10000", "-ratio", "4", "t=" + text, "e=" + empty, "b=" + binary});
        const std::string name = server.ReadLine();
        ASSERT_NE("", name);
        EXPECT_EQ("index 0.52% used (13 of 2500 bytes), data 0.16% used (12 of 7500 bytes)",
                  server.ReadLine());
        const std::vector<std::string> sizes = {"-size", "10000", "-ratio", "4"};
        auto client = [&](std::vector<std::string> iArgs)
        {
            iArgs.insert(iArgs.begin() + 2, sizes.begin(), sizes.end());
            return Outcome(Zbsvc(iArgs));
        };
        EXPECT_EQ("0|t|6\ne|0\nb|6\n|", client({"shm", "list", name}));
        EXPECT_EQ("0|hello\n|", client({"shm", "get", name, "t"}));
        EXPECT_EQ("0||", client({"shm", "get", name, "e"}));
        EXPECT_EQ("0||", client({"shm", "get", name, "b", dir / "out"}));
        EXPECT_EQ(std::string("\0\1\2|\n\377", 6), zbtest::ReadFile(dir / "out"));
        EXPECT_EQ("1||# Error: Shared memory segment " + name + ", block x: No data found\n",
                  client({"shm", "get", name, "x"}));
        // Without the server's sizes the client would read past the segment.
        EXPECT_EQ("1||# Error: Shared memory segment " + name +
                      ": Segment smaller than the expected size\n",
                  Outcome(Zbsvc({"shm", "list", name})));

        EXPECT_EQ(std::to_string(signal) + "||", server.Stop(signal));
        EXPECT_EQ(0, zbtest::SegmentsCreatedBy(server.Pid()));
        EXPECT_EQ("1||# Error: Shared memory segment " + name + ": Invalid argument\n",
                  client({"shm", "list", name}));
    }
}

TEST(zbsvcShm, FourClientsReadEveryBlockAtOnce)
{
    zbtest::TempDir dir;
    const int count = 1000;
    std::vector<std::string> args;
    for (int i = 0; i < count; ++i)
    {
        WriteFile(dir / std::to_string(i), Block(i));
        args.push_back("k" + std::to_string(i) + "=" + (dir / std::to_string(i)));
    }
    Server server(args);
    const int pid = server.Pid();
    const std::string name = server.ReadLine();
    ASSERT_NE("", name);
    EXPECT_EQ("index 4.72% used (9891 of 209715 bytes), data 54.25% used (1024000 of 1887437 "
              "bytes)",
              server.ReadLine());

    std::vector<pid_t> clients;
    for (int c = 0; c < 4; ++c)
    {
        pid_t child = ::fork();
        if (child == 0)
        {
            zbSharedMemoryC client;
            if (client.Open(name.c_str()) != 0)
                ::_exit(2);
            // Each client walks the blocks from its own starting point.
            for (int n = 0; n < count; ++n)
            {
                const int i = (n + c * 250) % count;
                char* data = nullptr;
                unsigned int length = 0;
                if (client.Extract(("k" + std::to_string(i)).c_str(), &data, &length) != 0)
                    ::_exit(3);
                const bool same = std::string(data, length) == Block(i);
                delete[] data;
                if (!same)
                    ::_exit(4);
            }
            ::_exit(client.Close() == 0 ? 0 : 5);
        }
        clients.push_back(child);
    }
    for (pid_t child : clients)
    {
        int status = -1;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    EXPECT_EQ("15||", server.Stop(SIGTERM));
    EXPECT_EQ(0, zbtest::SegmentsCreatedBy(pid));
}

TEST(zbsvcShm, FailuresRemoveTheSegment)
{
    zbtest::TempDir dir;
    WriteFile(dir / "big", std::string(900, 'b'));
    WriteFile(dir / "small", "s");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"-size", "1000", "s=" + (dir / "small"), "b=" + (dir / "big"), "c=" + (dir / "small")},
         "1||# Error: Block b (" + (dir / "big") +
             ") not published in segment @: No space left "
             "on device\n"},
        {{"s=" + (dir / "small"), "m=" + (dir / "missing")},
         "1||# System error on " + (dir / "missing") + ": No such file or directory\n"},
    };
    for (const auto& [args, expected] : cases)
    {
        Server server(args);
        std::string outcome = server.Stop(0);
        const size_t at = outcome.find("segment ");
        if (at != std::string::npos && expected.find('@') != std::string::npos)
            outcome.replace(at + 8, outcome.find(':', at) - at - 8, "@");
        EXPECT_EQ(expected, outcome);
        EXPECT_EQ(0, zbtest::SegmentsCreatedBy(server.Pid()));
    }
}
