// Versioned blocks byte for byte, damaged files, the scrambler, file buffers.

#include "zbCRC32.h"
#include "zbCrypt.h"
#include "zbErrorCodeManager.h"
#include "zbFileBuffer.h"
#include "zbFileBufferVersioned.h"
#include "zbOFStream.h"
#include "zbTestConversions.h"
#include "zbTestSupport.h"

namespace
{
// "hello world", version 1.2.3, plain.
const std::string kPlain("\xf6\x3f\x43\xd0\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00"
                         "\x43\x00\x00\x00\x00\x00\x00\x00\x0b\x00\x00\x00\x00\x00\x00\x00"
                         "\x00\x00\x00\x00\x01\x00\x00\x00\x02\x00\x00\x00\x03\x00\x00\x00"
                         "\x00\x00\x00\x00\x00\x00\x00\x00"
                         "hello world",
                         67);
// "hello world", version 4.5.6, scrambled.
const std::string kScrambled("\x8c\x26\xc9\xa7\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00"
                             "\x43\x00\x00\x00\x00\x00\x00\x00\x0b\x00\x00\x00\x00\x00\x00\x00"
                             "\x01\x00\x00\x00\x5f\x5c\x5d\x5e\x64\x60\x61\x62\x69\x64\x65\x66"
                             "\x67\x68\x69\x6a\x6b\x6c\x6d\x6e\xc3\xc1\xc9\xca\xce\x80\xd8\xd1"
                             "\xd5\xd0\xc9",
                             67);

std::string Version(const zbFileBufferVersioned& iBlock)
{
    unsigned int a, b, c;
    iBlock.GetVersion(a, b, c);
    return std::to_string(a) + "." + std::to_string(b) + "." + std::to_string(c);
}

std::string Error(const zbFileBufferVersioned& iBlock)
{
    return iBlock.GetLastErrorMessage().ConvertToUTF8();
}

// Rewrites the control CRC so that only the field under test is wrong.
std::string WithCRC(std::string iBlock)
{
    unsigned int crc = zbCRC32(iBlock.data() + 4, static_cast<unsigned int>(iBlock.size() - 4));
    for (int i = 0; i < 4; ++i)
        iBlock[i] = static_cast<char>(crc >> (8 * i));
    return iBlock;
}
} // namespace

TEST(zbFileBufferVersioned, StoredBytesReadBack)
{
    zbtest::TempDir dir;
    zbFileBufferVersioned block;
    block.SetBuffer("hello world", 11);
    block.SetVersion(1, 2, 3);
    ASSERT_EQ(0, block.WriteToFile((dir / "plain").c_str()));
    EXPECT_EQ(kPlain, zbtest::ReadFile(dir / "plain"));
    ASSERT_EQ(0, block.WriteUserDataToFile((dir / "user").c_str()));
    EXPECT_EQ("hello world", zbtest::ReadFile(dir / "user"));

    // Scrambling before or after setting the version stores the same bytes.
    block.SetBuffer("hello world", 11);
    block.CryptBuffer();
    block.CryptBuffer();
    block.SetVersion(4, 5, 6);
    ASSERT_EQ(0, block.WriteToFile((dir / "scrambled").c_str()));
    EXPECT_EQ(kScrambled, zbtest::ReadFile(dir / "scrambled"));

    // Empty user data: 56 bytes, which no reader accepts (see zbsvc block).
    // New data is plain, whatever the block held before.
    EXPECT_NE(nullptr, block.SetBuffer(nullptr, 5));
    EXPECT_EQ(0u, block.GetCryptLevel());
    ASSERT_EQ(0, block.WriteToFile((dir / "empty").c_str()));
    EXPECT_EQ(56u, zbtest::ReadFile(dir / "empty").size());

    EXPECT_EQ(1, block.WriteToFile(nullptr));
    EXPECT_EQ(1, block.WriteToFile((dir / "no/such").c_str()));
    EXPECT_EQ("Block file " + dir / "no/such" + ": No such file or directory", Error(block));

    // The two blocks written, read back (the description of a block read:
    // see zbsvc block info).
    ASSERT_EQ(0, block.ReadFromFile((dir / "plain").c_str())) << Error(block);
    EXPECT_EQ("1.2.3 hello world", Version(block) + " " + std::string(block.GetBuffer(), 11));
    // Saved again after descrambling, the block says it is plain.  (A
    // scrambled block read, described and descrambled: see zbsvc block.)
    ASSERT_EQ(0, block.ReadFromFile((dir / "scrambled").c_str())) << Error(block);
    block.DecryptBuffer();
    ASSERT_EQ(0, block.WriteToFile((dir / "again").c_str()));
    ASSERT_EQ(0, block.ReadFromFile((dir / "again").c_str()));
    EXPECT_EQ("0 4.5.6 hello world", std::to_string(block.GetCryptLevel()) + " " + Version(block) +
                                         " " + std::string(block.GetBuffer(), 11));

    block.SetBuffer(block.GetBuffer() + 6, 5);
    EXPECT_EQ("world", std::string(block.GetBuffer()));

    EXPECT_EQ(0, block.ReadFromFile(nullptr));
    EXPECT_EQ(0u, block.GetBufferLength());
    EXPECT_EQ("", Error(block));
}

TEST(zbFileBufferVersioned, DamagedFiles)
{
    zbtest::TempDir dir;
    const std::string path = dir / "block";
    zbFileBufferVersioned block;
    auto refused = [&](const std::string& iContent)
    {
        zbtest::WriteFile(path, iContent);
        int result = block.ReadFromFile(path.c_str());
        // A failed read leaves the block empty.
        EXPECT_EQ(0u, block.GetBufferLength());
        EXPECT_EQ("0.0.0", Version(block));
        return result == 1 ? Error(block) : "accepted";
    };
    const std::string badCRC =
        "Block file " + path + " is damaged: its control CRC does not match its content";
    const std::string badSize = "File " + path + " has a size that no block file can have";
    for (const std::string& good : {kPlain, kScrambled})
        for (size_t i = 0; i < good.size(); ++i)
        {
            std::string damaged = good;
            damaged[i] = static_cast<char>(damaged[i] ^ (1 << (i % 8)));
            EXPECT_EQ(badCRC, refused(damaged)) << "byte " << i;
        }
    EXPECT_EQ(badSize, refused(""));
    // The control version, the control length and the user data length (low
    // and high words) changed, the CRC made right.
    const std::tuple<size_t, char, std::string> fields[] = {
        {8, 2, "Block file " + path + " has an unknown control version"},
        {16, 0x44, badSize},
        {24, 0x0a, badSize},
        {28, 1, badSize}};
    for (const auto& [at, byte, error] : fields)
    {
        std::string wrong = kPlain;
        wrong[at] = byte;
        EXPECT_EQ(error, refused(WithCRC(wrong))) << at;
    }

    // Beyond the 32-bit lengths: refused without being read.
    ASSERT_EQ(0, ::truncate(path.c_str(), 5ll << 30));
    EXPECT_EQ(1, block.ReadFromFile(path.c_str()));
    EXPECT_EQ(badSize, Error(block));
    // (A missing block: see zbsvc block info.)
    EXPECT_EQ(1, block.ReadFromFile(dir.Path().c_str()));
    EXPECT_EQ("Block file " + dir.Path() + ": Is a directory", Error(block));
    // Emptied, not left half-read: a version alone stores a header of 56 bytes
    // that says so.
    block.SetVersion(7, 8, 9);
    ASSERT_EQ(0, block.WriteToFile(path.c_str()));
    EXPECT_EQ(56, zbtest::ReadFile(path).at(16));
}

TEST(zbFileBufferVersioned, FilledFromAFileAndPackedThroughABuffer)
{
    zbtest::TempDir dir;
    const unsigned int v123[3] = {1, 2, 3}, v456[3] = {4, 5, 6}, v789[3] = {7, 8, 9};
    zbtest::WriteFile(dir / "hello", "hello world");
    zbFileBufferVersioned block;
    ASSERT_EQ(0, block.PackFile((dir / "hello").c_str(), (dir / "s").c_str(), v456, 1));
    EXPECT_EQ(kScrambled, zbtest::ReadFile(dir / "s"));
    EXPECT_EQ(0u, block.GetBufferLength());
    ASSERT_EQ(0, block.SetBufferFromFile((dir / "hello").c_str()));
    EXPECT_EQ("hello world", std::string(block.GetBuffer(), block.GetBufferLength()));
    EXPECT_EQ(0, block.GetBuffer()[block.GetBufferLength()]);

    // Sizes around the pieces the data goes through (the scrambling and the
    // CRC carry on from one piece to the next): the same files as the
    // block written from memory, and read back whole and terminated.
    for (size_t size : {1u, 255u, 257u, 262144u, 262145u, 600001u})
    {
        std::string data(size, 0);
        for (size_t i = 0; i < size; ++i)
            data[i] = static_cast<char>((i * 7919u) >> 3);
        zbtest::WriteFile(dir / "in", data);
        for (int crypt = 0; crypt < 2; ++crypt)
        {
            zbFileBufferVersioned memory;
            memory.SetBuffer(data.data(), static_cast<unsigned int>(size));
            memory.SetVersion(7, 8, 9);
            if (crypt)
                memory.CryptBuffer();
            ASSERT_EQ(0, memory.WriteToFile((dir / "expected").c_str()));
            ASSERT_EQ(0, block.PackFile((dir / "in").c_str(), (dir / "got").c_str(), v789, crypt));
            EXPECT_TRUE(zbtest::ReadFile(dir / "expected") == zbtest::ReadFile(dir / "got"))
                << size << " " << crypt;
            ASSERT_EQ(0, block.SetBufferFromFile((dir / "in").c_str()));
            EXPECT_TRUE(std::string(block.GetBuffer(), block.GetBufferLength()) == data);
            EXPECT_EQ(0, block.GetBuffer()[block.GetBufferLength()]) << size;
        }
    }

    zbtest::WriteFile(dir / "self", "hello world");
    ASSERT_EQ(0, block.PackFile((dir / "self").c_str(), (dir / "self").c_str(), v123, 0));
    EXPECT_EQ(kPlain, zbtest::ReadFile(dir / "self"));
}

TEST(zbFileBufferVersioned, FailuresOfFillingAndPacking)
{
    zbtest::TempDir dir;
    const unsigned int v[3] = {1, 2, 3};
    zbtest::WriteFile(dir / "hello", "hello world");
    zbFileBufferVersioned block;
    block.SetBuffer("kept?", 5);

    for (const auto& [input, error] : {std::pair{dir / "missing", ENOENT}, {dir.Path(), EISDIR}})
    {
        EXPECT_EQ(1, block.SetBufferFromFile(input.c_str()));
        EXPECT_EQ(error, zbExtLastError.GetErrno());
        EXPECT_EQ(0u, block.GetBufferLength());
        EXPECT_EQ(1, block.PackFile(input.c_str(), (dir / "out").c_str(), v, 0));
        EXPECT_EQ(error, zbExtLastError.GetErrno());
    }
    EXPECT_NE(0, access((dir / "out").c_str(), F_OK));

    EXPECT_EQ(2, block.PackFile((dir / "hello").c_str(), (dir / "no/such/out").c_str(), v, 0));
    EXPECT_NE(std::string::npos, Error(block).find("no/such/out")) << Error(block);
    if (access("/dev/full", W_OK) == 0)
    {
        EXPECT_EQ(2, block.PackFile((dir / "hello").c_str(), "/dev/full", v, 0));
        EXPECT_NE(std::string::npos, Error(block).find("/dev/full")) << Error(block);
        // A device is never removed.
        struct stat device;
        ASSERT_EQ(0, stat("/dev/full", &device));
        EXPECT_TRUE(S_ISCHR(device.st_mode));
    }
}

TEST(zbCrypt, ScramblesByPosition)
{
    // Byte i becomes byte + (i mod 256) + 0x5B.
    unsigned char bytes[600] = {};
    zbCrypt(bytes, 600);
    for (int i = 0; i < 600; ++i)
        ASSERT_EQ(static_cast<unsigned char>(i % 256 + 0x5B), bytes[i]) << i;
    zbDecrypt(bytes, 600);
    zbCrypt(nullptr, 5);
    zbCrypt(bytes, 0);
    EXPECT_EQ(std::string(600, '\0'), std::string(reinterpret_cast<char*>(bytes), 600));
}

TEST(zbFileBuffer, LoadCompareHash)
{
    zbtest::TempDir dir;
    zbtest::WriteFile(dir / "f", std::string("ab\0cd", 5));
    zbFileBuffer buffer;
    ASSERT_EQ(0, buffer.ReadFromFile((dir / "f").c_str(), 4));
    ASSERT_EQ(5u, buffer.GetBufferLength());
    EXPECT_EQ(0, buffer.GetBuffer()[5]);
    EXPECT_EQ(1, buffer.ReadFromFile((dir / "none").c_str(), 4));
    EXPECT_TRUE(!buffer);
    EXPECT_EQ(0, buffer.ReadFromFile(nullptr, 4));
    EXPECT_EQ(0u, buffer.ComputeHashKey());

    const char five[] = {1, 2, 3, 4, 5};
    buffer.DuplicateBuffer(five, 5);
    EXPECT_EQ(0x04020304u, buffer.ComputeHashKey());
    zbFileBuffer copy(buffer);
    copy.CryptBuffer();
    EXPECT_FALSE(copy == buffer);
    copy.DecryptBuffer();
    EXPECT_TRUE(copy == buffer);
    copy.DuplicateBuffer(copy.GetBuffer() + 1, 3);
    EXPECT_EQ(std::string("\2\3\4"), std::string(copy.GetBuffer()));
    buffer.DuplicateBuffer("123456789", 9);
    EXPECT_EQ(0xFC891918u, buffer.ComputeCRC());
    {
        zbOFStream out((dir / "out").c_str(), 4);
        EXPECT_EQ(9, buffer.Write(out));
        EXPECT_EQ(0, zbFileBuffer().Write(out));
    }
    EXPECT_EQ("123456789", zbtest::ReadFile(dir / "out"));
}
