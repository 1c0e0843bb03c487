// zbsvc shm servers under signals and concurrent clients; after every
// server, no segment it created is left.

#include "zbSharedMemoryC.h"
#include "zbTestSupport.h"

using namespace zbtest;

namespace
{
// Runs zbsvc shm serve iArgs; once it has printed the segment's name and
// its use, iWhileUp(name, use) runs and iSignal ends the server.  The
// server's outcome with the rest of its output; oPid its process.
std::string Serve(const std::vector<std::string>& iArgs, int iSignal, int& oPid,
                  const std::function<void(const std::string&, const std::string&)>& iWhileUp)
{
    TempDir dir;
    std::vector<std::string> argv{"/bin/sh",
                                  "-c",
                                  "echo $$ >\"$0/pid\"; exec \"$@\" >\"$0/out\"",
                                  dir.Path(),
                                  Program("zbsvc"),
                                  "shm",
                                  "serve"};
    argv.insert(argv.end(), iArgs.begin(), iArgs.end());
    size_t up = 0;
    auto ready = [&]()
    {
        const std::string out = ReadFile(dir / "out");
        const size_t name = out.find('\n'), use = out.find('\n', name + 1);
        if (use == std::string::npos)
            return false;
        iWhileUp(out.substr(0, name), out.substr(name + 1, use - name - 1));
        up = use + 1;
        return true;
    };
    ChildResult result = RunSignalledWhenReady(argv, {}, ready, iSignal, false, 20000);
    oPid = std::atoi(ReadFile(dir / "pid").c_str());
    result._Out = ReadFile(dir / "out").substr(up);
    return Outcome(result);
}

std::string Block(int iNumber)
{
    std::string data(1024, '\0');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 131 + static_cast<size_t>(iNumber) * 7 + i / 97);
    return data;
}
} // namespace

// Four clients read every block at once; SIGINT then ends the server with
// its number, its segment removed (SIGTERM: transcripts/shm.t).
TEST(zbsvcShm, FourClientsReadEveryBlockAtOnce)
{
    TempDir dir;
    const int count = 1000;
    std::vector<std::string> args;
    for (int i = 0; i < count; ++i)
    {
        WriteFile(dir / std::to_string(i), Block(i));
        args.push_back("k" + std::to_string(i) + "=" + (dir / std::to_string(i)));
    }
    int finished = 0;
    auto whileUp = [&](const std::string& iName, const std::string& iUse)
    {
        EXPECT_EQ("index 4.72% used (9891 of 209715 bytes), data 54.25% used (1024000 of 1887437 "
                  "bytes)",
                  iUse);
        std::vector<pid_t> clients;
        for (int c = 0; c < 4; ++c)
        {
            pid_t child = ::fork();
            if (child == 0)
            {
                zbSharedMemoryC client;
                if (client.Open(iName.c_str()) != 0)
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
            finished += WIFEXITED(status) && WEXITSTATUS(status) == 0;
        }
    };
    int pid = 0;
    EXPECT_EQ("2||", Serve(args, SIGINT, pid, whileUp));
    EXPECT_EQ(4, finished);
    EXPECT_EQ(0, SegmentsCreatedBy(pid));
}
