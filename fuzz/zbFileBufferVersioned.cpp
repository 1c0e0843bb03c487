// Fuzz target: zbFileBufferVersioned::ReadFromFile on arbitrary files.
//
// The input is the file.  When its first byte is odd, the control CRC is
// replaced by the right one first, so that the checks behind it are reached.
// A block that reads back must survive a write and a second read unchanged.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "zbCRC32.h"
#include "zbFileBufferVersioned.h"
#include "zbFuzzSupport.h"
#include "zbOFStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    static zbfuzz::Scratch scratch("block");
    static const std::string inFile = scratch.Path("in"), outFile = scratch.Path("out");
    static zbOFStream sink("/dev/null", 4);
    std::string content(reinterpret_cast<const char*>(iData), iSize);
    if (iSize >= 4 && (iData[0] & 1))
    {
        unsigned int crc = zbCRC32(content.data() + 4, static_cast<unsigned int>(iSize - 4));
        for (int i = 0; i < 4; ++i)
            content[i] = static_cast<char>(crc >> (8 * i));
    }
    if (!zbfuzz::WriteFile(inFile, content))
        return 0;

    zbFileBufferVersioned block;
    if (block.ReadFromFile(inFile.c_str()) != 0)
    {
        if (block.GetLastErrorMessage().IsEmpty() || block.GetBufferLength() != 0)
            std::abort();
        return 0;
    }
    unsigned int version[3];
    block.GetVersion(version[0], version[1], version[2]);
    block.Dump(sink);
    unsigned int level = block.GetCryptLevel();
    if (level)
        block.DecryptBuffer();
    std::string data(block.GetBuffer(), block.GetBufferLength());
    if (data.size() + 56 != iSize)
        std::abort();

    // Saved again and read back: same data, version and scrambling.
    zbFileBufferVersioned copy;
    copy.SetBuffer(data.data(), static_cast<unsigned int>(data.size()));
    copy.SetVersion(version[0], version[1], version[2]);
    if (level)
        copy.CryptBuffer();
    if (copy.WriteToFile(outFile.c_str()) != 0 || copy.ReadFromFile(outFile.c_str()) != 0)
        std::abort();
    unsigned int again[3];
    copy.GetVersion(again[0], again[1], again[2]);
    if (std::memcmp(version, again, sizeof version) != 0 ||
        (copy.GetCryptLevel() != 0) != (level != 0))
        std::abort();
    copy.DecryptBuffer();
    if (std::string(copy.GetBuffer(), copy.GetBufferLength()) != data)
        std::abort();
    return 0;
}
