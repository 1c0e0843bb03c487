// zbsvc crc FILE ...: one line per file, the library's CRC-32 in eight
// lower-case hexadecimal digits, the size in bytes and the name ("-":
// standard input).  Files are read block by block, never whole.

#include <cstring>
#include <fcntl.h>
#include <vector>

#include "zbCRC32.h"
#include "zbDescriptor.h"
#include "zbReport.h"
#include "zbsvcVerbs.h"

namespace
{
// 0 with the CRC and size of what the descriptor gives, or the errno.
int CrcOfDescriptor(int iFd, std::vector<char>& ioBuffer, unsigned int& oCRC,
                    unsigned long long& oSize)
{
    oCRC = 0, oSize = 0;
    for (;;)
    {
        size_t count = 0;
        if (int error = zbReadAll(iFd, ioBuffer.data(), ioBuffer.size(), count))
            return error;
        if (count == 0)
            return 0;
        oCRC = zbCRC32Continue(oCRC, ioBuffer.data(), count);
        oSize += count;
    }
}

int CrcOfFile(const char* iName, std::vector<char>& ioBuffer, unsigned int& oCRC,
              unsigned long long& oSize)
{
    if (!std::strcmp(iName, "-"))
        return CrcOfDescriptor(0, ioBuffer, oCRC, oSize);
    zbScopedFd fd(zbOpenFd(iName, O_RDONLY));
    if (!fd.IsOpen())
        return errno;
    ::posix_fadvise(fd.Get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    return CrcOfDescriptor(fd.Get(), ioBuffer, oCRC, oSize);
}
} // namespace

int zbsvcCrc(int argc, char** argv)
{
    zbsvcOptions options("zbsvc crc");
    int status = zbsvcAnalyze(options, argc, argv, 1, -1);
    if (status >= 0)
        return status;
    status = 0;
    std::vector<char> buffer(128 * 1024);
    for (const QORString& file : *options.GetAllLineValues())
    {
        const char* name = file.CastToCharPtr();
        unsigned int crc = 0;
        unsigned long long size = 0;
        if (int error = CrcOfFile(name, buffer, crc, size))
            status = zbReportSystemError(name, error);
        else
            zbsvcPrint("%08x %llu %s\n", crc, size, name);
    }
    return status;
}
