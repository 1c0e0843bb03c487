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
#include "zbRTViewDataStat.h"

namespace
{
struct TempFiles
{
    std::string _In = "/tmp/zbfuzz_stat_in." + std::to_string(::getpid());
    std::string _Out = "/tmp/zbfuzz_stat_out." + std::to_string(::getpid());
    std::string _Again = "/tmp/zbfuzz_stat_again." + std::to_string(::getpid());
    ~TempFiles()
    {
        for (const std::string* name : {&_In, &_Out, &_Again})
            ::unlink(name->c_str());
    }
};

std::string Content(const std::string& iPath)
{
    std::string text;
    if (FILE* file = std::fopen(iPath.c_str(), "rbe"))
    {
        char buffer[65536];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            text.append(buffer, n);
        std::fclose(file);
    }
    return text;
}

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
    static TempFiles files;
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

    FILE* file = std::fopen(files._In.c_str(), "wbe");
    if (!file)
        return 0;
    if (iSize)
        std::fwrite(iData, 1, iSize, file);
    std::fclose(file);

    zbRTViewDataStat data(5, 13);
    zbExtLastError.SetErrno(0);
    int result = data.Read(files._In.c_str(), zbRTViewData::KeepPaths);
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
    if (data.Write(files._Out.c_str()) != 0)
        std::abort();
    zbRTViewDataStat again(5, 13);
    if (again.Read(files._Out.c_str(), zbRTViewData::KeepPaths) != 0 || Count(again) > Count(data))
        std::abort();
    if (again.Write(files._Again.c_str()) != 0)
        std::abort();
    // Records of names holding a bar may read back otherwise the first
    // time; from then on the text is stable.
    zbRTViewDataStat third(5, 13);
    if (third.Read(files._Again.c_str(), zbRTViewData::KeepPaths) != 0 ||
        third.Write(files._Out.c_str()) != 0 || Content(files._Out) != Content(files._Again))
        std::abort();
    return 0;
}
