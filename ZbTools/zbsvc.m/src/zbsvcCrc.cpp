// zbsvc crc [-method NAME] FILE ...: one line per file, the library's CRC-32
// in eight lower-case hexadecimal digits, the size in bytes and the name
// ("-": standard input).  Files are read block by block through one buffer,
// never whole.  -method computes through the named way instead of the
// fastest this processor runs (to compare them).

#include <cstring>
#include <fcntl.h>
#include <string>
#include <vector>

#include "zbCRC32.h"
#include "zbDescriptor.h"
#include "zbReport.h"
#include "zbsvcVerbs.h"

namespace
{
// The way named by -method, or null for the fastest; 2 after a usage error.
int GetMethod(zbsvcOptions& ioOptions, zbCRC32UpdateFunction& oUpdate)
{
    oUpdate = nullptr;
    QORString* name = ioOptions.GetSwitchValue("method");
    if (!name)
        return 0;
    for (const zbCRC32Path* path = zbCRC32Paths; path->_Name; ++path)
        if (*name == path->_Name && path->_Supported())
        {
            oUpdate = path->_Update;
            return 0;
        }
    std::string known;
    for (const zbCRC32Path* path = zbCRC32Paths; path->_Name; ++path)
        if (path->_Supported())
            known += std::string(known.empty() ? "" : ", ") + path->_Name;
    return zbsvcUsageError(ioOptions, ("expects -method among " + known).c_str());
}

int CrcOfFile(const char* iName, std::vector<char>& ioBuffer, zbCRC32UpdateFunction iUpdate,
              unsigned int& oCRC, unsigned long long& oSize)
{
    zbScopedFd file;
    int fd = 0;
    if (std::strcmp(iName, "-"))
    {
        file.Reset(zbOpenFd(iName, O_RDONLY));
        if (!file.IsOpen())
            return errno;
        fd = file.Get();
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    }
    return zbCRC32OfDescriptor(fd, ioBuffer.data(), ioBuffer.size(), oCRC, oSize, iUpdate);
}
} // namespace

int zbsvcCrc(int argc, char** argv)
{
    zbsvcOptions options("zbsvc crc");
    options.DeclareValue("method", "NAME", "compute the CRC the named way, not the fastest");
    int status = zbsvcAnalyze(options, argc, argv, 1, -1);
    if (status >= 0)
        return status;
    zbCRC32UpdateFunction update = nullptr;
    if (int usage = GetMethod(options, update))
        return usage;
    status = 0;
    // Large enough that the reads cost little more than their copies, small
    // enough to stay in the cache while the CRC goes over it.
    std::vector<char> buffer(512 * 1024);
    for (const QORString& file : *options.GetAllLineValues())
    {
        const char* name = file.CastToCharPtr();
        unsigned int crc = 0;
        unsigned long long size = 0;
        if (int error = CrcOfFile(name, buffer, update, crc, size))
            status = zbReportSystemError(name, error);
        else
            zbsvcPrint("%08x %llu %s\n", crc, size, name);
    }
    return status;
}
