// Fuzz target: zbRTViewDataStat::Read and its record parser on arbitrary
// files.
//
// Each line after the first is also parsed as one record: its statistics
// are never negative.  A refused file leaves the set empty with EBADF
// recorded (a file holding a NUL byte: zbErrnoNulByte; a line longer than
// any record: the records before it kept); a file read is written, read
// again and written again to the same bytes.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "zbErrorCodeManager.h"
#include "zbFuzzSupport.h"
#include "zbRTViewDataStat.h"

namespace
{
int Count(const zbRTViewDataStat& iData)
{
    int count = 0;
    for (const zbHashDiczbRTViewElementStat* elements : iData.GetFrameworks().Values())
        count += elements->GetNbItems();
    return count;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    static zbfuzz::Scratch scratch("stat");
    static const std::string inFile = scratch.Path("in"), outFile = scratch.Path("out"),
                             againFile = scratch.Path("again");
    const char* text = reinterpret_cast<const char*>(iData);
    for (size_t start = 0; start < iSize;)
    {
        const void* lf = std::memchr(text + start, '\n', iSize - start);
        size_t stop = lf ? static_cast<size_t>(static_cast<const char*>(lf) - text) : iSize;
        size_t length = stop - start;
        zbRTViewElementStat element(text + start,
                                    static_cast<unsigned int>(length > 4096 ? 4096 : length));
        if (element.GetSize() < 0 || element.GetLastModificationTime() < 0)
            std::abort();
        start = stop + 1;
    }

    if (!zbfuzz::WriteFile(inFile, iData, iSize))
        return 0;

    zbRTViewDataStat data(5, 13);
    zbExtLastError.SetErrno(0);
    int result = data.Read(inFile.c_str(), zbRTViewData::KeepPaths);
    if (result != 0)
    {
        // A file holding a NUL byte is no text; a line longer than any
        // record ends the reading, the records before it kept.
        const int error = zbExtLastError.GetErrno();
        if (result == 1 ? error != zbErrnoNulByte
                        : (result != -1 && result != -10 && result != -2) || error != EBADF ||
                              (result != -2 && Count(data) != 0))
            std::abort();
        return 0;
    }
    if (data.Write(outFile.c_str()) != 0)
        std::abort();
    zbRTViewDataStat again(5, 13);
    if (again.Read(outFile.c_str(), zbRTViewData::KeepPaths) != 0 || Count(again) > Count(data))
        std::abort();
    if (again.Write(againFile.c_str()) != 0)
        std::abort();
    // Records of names holding a bar may read back otherwise the first
    // time; from then on the text is stable.
    zbRTViewDataStat third(5, 13);
    if (third.Read(againFile.c_str(), zbRTViewData::KeepPaths) != 0 ||
        third.Write(outFile.c_str()) != 0 ||
        zbfuzz::ReadFile(outFile) != zbfuzz::ReadFile(againFile))
        std::abort();
    return 0;
}
