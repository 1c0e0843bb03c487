// Fuzz target: zbSharedMemory::Extract on an arbitrary index area, a
// private buffer standing in for the segment.
//
// The first byte is the index ratio (0 included); the rest is the segment.
// Every key of the index lines, and a few others, are extracted: a block
// found lies within the data area, and a failure leaves a text.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "zbSharedMemory.h"

namespace
{
class Buffer : public zbSharedMemory
{
  public:
    Buffer(std::string& ioBytes, unsigned int iIndexRatio)
        : zbSharedMemory(static_cast<unsigned int>(ioBytes.size()), iIndexRatio)
    {
        _Memory = ioBytes.empty() ? nullptr : &ioBytes[0];
    }
    int Close() override { return 0; }
    void Reset() override {}
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    if (iSize < 1)
        return 0;
    std::string bytes(reinterpret_cast<const char*>(iData) + 1, iSize - 1);
    Buffer memory(bytes, iData[0]);

    std::vector<std::string> keys = {"a", "b", "key", std::string(1, '\n')};
    const size_t indexSize = memory.GetIndexSize();
    const char* end = static_cast<const char*>(std::memchr(bytes.data(), '\0', indexSize));
    for (size_t start = 0;
         end && start < static_cast<size_t>(end - bytes.data()) && keys.size() < 64;)
    {
        const size_t bar = bytes.find_first_of("|\n", start);
        if (bar == std::string::npos)
            break;
        keys.push_back(bytes.substr(start, bar - start));
        const size_t next = bytes.find('\n', bar);
        if (next == std::string::npos)
            break;
        start = next + 1;
    }
    const std::string copy = bytes;
    for (const std::string& key : keys)
    {
        char* data = nullptr;
        unsigned int length = 0;
        const int result = memory.Extract(key.c_str(), &data, &length);
        if (result == 0)
        {
            if (length > memory.GetDataSize() || (length == 0) != (data == nullptr))
                std::abort();
            // The block is a piece of the data area.
            if (length && !::memmem(copy.data() + indexSize, copy.size() - indexSize, data, length))
                std::abort();
            delete[] data;
        }
        else if (result != -1 || data || length || memory.GetzbSharedMemoryLastError().IsEmpty())
            std::abort();
    }
    if (bytes != copy)
        std::abort(); // a client never writes
    return 0;
}
