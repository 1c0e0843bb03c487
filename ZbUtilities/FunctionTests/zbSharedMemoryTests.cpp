// Shared memory segments; every test ends with no segment of this process left.

#include <sys/ipc.h>
#include <sys/shm.h>

#include "zbSharedMemoryC.h"
#include "zbSharedMemoryS.h"
#include "zbTestSupport.h"

namespace
{
std::string LastError(const zbSharedMemory& iMemory)
{
    return iMemory.GetzbSharedMemoryLastError().ConvertToUTF8();
}

std::string Extracted(zbSharedMemory& ioMemory, const char* iKey)
{
    char* data = nullptr;
    unsigned int length = 0;
    if (ioMemory.Extract(iKey, &data, &length) != 0)
        return "-1: " + LastError(ioMemory);
    std::string block = data ? std::string(data, length) : "<null>" + std::to_string(length);
    delete[] data;
    return block;
}

// A private buffer standing in for a segment.
class Buffer : public zbSharedMemory
{
  public:
    Buffer(std::string& ioBytes, unsigned int iIndexRatio)
        : zbSharedMemory(static_cast<unsigned int>(ioBytes.size()), iIndexRatio)
    {
        _Memory = &ioBytes[0];
    }
    int Close() override { return 0; }
    void Reset() override {}
};

class zbSharedMemoryTest : public ::testing::Test
{
  protected:
    void TearDown() override { EXPECT_EQ(0, zbtest::SegmentsCreatedBy(::getpid())); }
};
} // namespace

TEST_F(zbSharedMemoryTest, DefaultSizesAndLimits)
{
    // The split of the default size is checked through zbsvc shm serve.
    zbSharedMemoryS server;
    ASSERT_EQ(0, server.Open()) << LastError(server);
    struct shmid_ds status;
    ASSERT_EQ(0, ::shmctl(std::stoi(server.GetName()), IPC_STAT, &status));
    EXPECT_EQ(2097152u, status.shm_segsz);
    EXPECT_EQ(0600u, status.shm_perm.mode & 0777u);
    double index = 0, data = 0;
    server.GetInfo(index, data);
    EXPECT_NEAR(100.0 / 209715, index, 1e-12); // the NUL
    EXPECT_DOUBLE_EQ(0.0, data);

    // The index holds its lines and a NUL, strictly within its area: a key
    // of 209710 characters and "|0\n" fill it.
    EXPECT_EQ(-1, server.Append(std::string(209711, 'k').c_str(), "", 0));
    EXPECT_EQ("No space left on device", LastError(server));
    EXPECT_EQ(0, server.Append(std::string(209710, 'k').c_str(), "", 0));
    EXPECT_EQ(-1, server.Append("k", "", 0));
    EXPECT_EQ(209713u, server.GetIndexUsed());

    // A block never ends exactly at the end of the segment.
    const std::string big(1887437, 'd');
    ASSERT_EQ(0, server.Open());
    EXPECT_EQ(-1, server.Append("big", big.data(), 1887437));
    EXPECT_EQ("No space left on device", LastError(server));
    EXPECT_EQ(0, server.Append("big", big.data(), 1887436));
    EXPECT_EQ(-1, server.Append("one", "x", 1));
    server.GetInfo(index, data);
    EXPECT_NEAR((1.0 - 1.0 / 1887437) * 100.0, data, 1e-9);
    EXPECT_EQ(0, server.Close());
}

TEST_F(zbSharedMemoryTest, IndexLayoutAndExtraction)
{
    zbSharedMemoryS server(1000, 10);
    ASSERT_EQ(0, server.Open());
    ASSERT_EQ(0, server.Append("a", "xyz", 3));
    ASSERT_EQ(0, server.Append("b", nullptr, 0));
    ASSERT_EQ(0, server.Append("c", "pq", 2));
    EXPECT_EQ(std::string("a|3\nb|0\nc|2\n\0", 13), std::string(server.GetMemory(), 13));
    EXPECT_EQ("xyzpq", std::string(server.GetMemory() + 100, 5));

    zbSharedMemoryC client(1000, 10);
    ASSERT_EQ(0, client.Open(server.GetName())) << LastError(client);
    EXPECT_EQ("xyz", Extracted(client, "a"));
    EXPECT_EQ("<null>0", Extracted(client, "b"));
    EXPECT_EQ("pq", Extracted(client, "c"));
    EXPECT_EQ("-1: No data found", Extracted(client, "d"));
    EXPECT_EQ("-1: No data found", Extracted(client, "a|3"));

    // The index was copied at the first extraction: a later block is seen
    // after the client opens the segment again.
    ASSERT_EQ(0, server.Append("d", "later", 5));
    EXPECT_EQ("-1: No data found", Extracted(client, "d"));
    ASSERT_EQ(0, client.Open(server.GetName()));
    EXPECT_EQ("later", Extracted(client, "d"));

    // Refused arguments.  A '|' or a newline in a key would shift the
    // blocks of every later line for the clients.
    const std::tuple<const char*, const char*, unsigned int> refused[] = {
        {nullptr, "x", 1}, {"", "x", 1}, {"a|b", "x", 1}, {"a\nb", "x", 1}, {"k", nullptr, 1}};
    for (const auto& [key, data, length] : refused)
    {
        EXPECT_EQ(-1, server.Append(key, data, length));
        EXPECT_EQ("Invalid argument", LastError(server));
    }

    EXPECT_EQ(0, client.Close());
    EXPECT_EQ("-1: Invalid argument", Extracted(client, "a"));
    EXPECT_EQ(0, server.Close());
    EXPECT_EQ(-1, server.Append("k", "x", 1));
    EXPECT_EQ("Invalid argument", LastError(server));
    EXPECT_EQ(0, server.Close()); // nothing held
}

TEST_F(zbSharedMemoryTest, ClientOpenFailures)
{
    zbSharedMemoryS server(4096, 4);
    ASSERT_EQ(0, server.Open());
    const std::string name = server.GetName();
    const std::tuple<const char*, unsigned int, const char*> cases[] = {
        {nullptr, 4096, "Invalid argument"},
        {"abc", 4096, "Invalid argument"},
        {"99999999999999999999", 4096, "Invalid argument"},
        {name.c_str(), 8192, "Segment smaller than the expected size"},
    };
    for (const auto& [segment, size, error] : cases)
    {
        zbSharedMemoryC client(size, 4);
        EXPECT_EQ(-1, client.Open(segment));
        EXPECT_EQ(error, LastError(client));
        EXPECT_FALSE(client.IsGood());
    }
    {
        zbSharedMemoryC client(4096, 4);
        EXPECT_EQ(0, client.Open(name.c_str()));
        EXPECT_TRUE(client.IsGood());
    }
    // Once the server has closed, the name leads nowhere (zbsvcShmTests).
    EXPECT_EQ(0, server.Close());
    EXPECT_STREQ("", server.GetName());

    // A server destroyed without Close removes its segment (checked by
    // the fixture).
    zbSharedMemoryS forgotten(4096, 4);
    ASSERT_EQ(0, forgotten.Open());
}

TEST_F(zbSharedMemoryTest, IndexReadDefensively)
{
    // 120 bytes: index 0..39, data 40..119.
    const std::string data = std::string(80, '.').replace(0, 5, "ABCDE");
    // index: what precedes the NUL; "-" leaves no NUL
    const std::tuple<std::string, unsigned int, const char*, std::string> cases[] = {
        {"a|80\n", 3, "a", data},
        {"a|81\n", 3, "a", "-1: Index line points past the data area"},
        {"a|40\nb|41\n", 3, "b", "-1: Index line points past the data area"},
        {"a|18446744073709551617\n", 3, "a", "-1: Index line points past the data area"},
        {"a3\n", 3, "a", "-1: Malformed index line"},
        {"a|\n", 3, "a", "-1: Malformed index line"},
        {"a|3", 3, "a", "-1: Malformed index line"},
        {"", 3, "a", "-1: No data found"},
        {std::string(36, 'k') + "|1\n", 3, "kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk",
         "A"}, // NUL at 39
        {"-", 3, "a", "-1: No index found"},
        {"a|3\n", 121, "a", "-1: No index found"}, // an index area of 0 bytes
        {"a|3\n", 0, "a", "-1: No index found"},
    };
    for (const auto& [index, ratio, key, expected] : cases)
    {
        SCOPED_TRACE(index + " / " + key);
        std::string bytes = std::string(40, 'i') + data;
        if (index != "-")
            bytes.replace(0, index.size() + 1, index + '\0');
        Buffer memory(bytes, ratio);
        EXPECT_EQ(expected, Extracted(memory, key));
    }
}

TEST_F(zbSharedMemoryTest, ClientInAnotherProcessCannotWrite)
{
    zbSharedMemoryS server(1 << 16, 8);
    ASSERT_EQ(0, server.Open());
    // Reading every byte from other processes is checked through zbsvc shm;
    // here, the attachment is read-only: a write faults.
    ASSERT_EQ(0, server.Append("b", std::string(3000, 'b').data(), 3000));
    const pid_t pid = ::fork();
    if (pid == 0)
    {
        zbSharedMemoryC client(1 << 16, 8);
        if (client.Open(server.GetName()) != 0)
            ::_exit(2);
        std::signal(SIGSEGV, SIG_DFL);
        *static_cast<volatile char*>(client.GetMemory() + client.GetIndexSize()) = 'w';
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGSEGV) << status;
    EXPECT_EQ(0, server.Close());
}
