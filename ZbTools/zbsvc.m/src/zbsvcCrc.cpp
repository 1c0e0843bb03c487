// zbsvc crc FILE ...: one line per file, the library's CRC-32 in eight
// lower-case hexadecimal digits, the size in bytes and the name.  Files are
// read block by block, never whole.

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

#include "zbCRC32.h"
#include "zbContext.h"
#include "zbErrorCodeManager.h"
#include "zbGetopts.h"
#include "zbsvcVerbs.h"

namespace
{
// 0 with the CRC and size of the file, 1 with errno stored.
int CrcOfFile(const char* iName, std::vector<char>& ioBuffer, unsigned int& oCRC,
              unsigned long long& oSize)
{
    int fd = ::open(iName, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
    {
        zbExtLastError.SetErrno(errno);
        return 1;
    }
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    oCRC = 0, oSize = 0;
    for (;;)
    {
        ssize_t n = ::read(fd, ioBuffer.data(), ioBuffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
        {
            zbExtLastError.SetErrno(errno);
            ::close(fd);
            return 1;
        }
        if (n == 0)
            break;
        oCRC = zbCRC32Continue(oCRC, ioBuffer.data(), static_cast<size_t>(n));
        oSize += static_cast<unsigned long long>(n);
    }
    ::close(fd);
    return 0;
}
} // namespace

int zbsvcCrc(int argc, char** argv)
{
    zbGetopts options("zbsvc crc");
    int status = zbsvcAnalyze(options, argc, argv, "FILE...", 1, -1);
    if (status >= 0)
        return status;
    status = 0;
    QORListValQORString& files = *options.GetAllLineValues();
    std::vector<char> buffer(128 * 1024);
    for (const QORString& file : files)
    {
        const char* name = file.CastToCharPtr();
        unsigned int crc = 0;
        unsigned long long size = 0;
        if (CrcOfFile(name, buffer, crc, size))
        {
            std::fflush(stdout);
            zbsvcReportSystemError(name, zbExtLastError.GetErrno());
            status = 1;
            continue;
        }
        std::printf("%08x %llu %s\n", crc, size, name);
    }
    if (std::fflush(stdout) != 0)
        status = 1;
    return status;
}
