#include "zbFileOperations.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

#include "zbErrorCodeManager.h"

int zbMMap(const char* iName, const int& iMode, char*& oBuffer, unsigned int& oSize,
           const char iLast)
{
    oBuffer = nullptr;
    oSize = 0;
    errno = 0;
    FILE* file = iName ? fopen64(iName, (iMode & 8) ? "r" : "rb") : nullptr;
    if (!file)
    {
        zbExtLastError.SetErrno(errno ? errno : EINVAL);
        return 1;
    }
    struct stat64 st;
    if (fstat64(fileno(file), &st) != 0 || S_ISDIR(st.st_mode))
    {
        zbExtLastError.SetErrno(S_ISDIR(st.st_mode) ? EISDIR : errno);
        std::fclose(file);
        return 1;
    }
    if (st.st_size == 0)
    {
        std::fclose(file);
        return 0;
    }
    // The buffer's length is counted in 32 bits: a larger file cannot be held.
    if (static_cast<unsigned long long>(st.st_size) > 0xFFFFFFFDull)
    {
        zbExtLastError.SetErrno(EFBIG);
        std::fclose(file);
        return 1;
    }
    size_t size = static_cast<size_t>(st.st_size);
    char* buffer = static_cast<char*>(std::calloc(size + 2, 1));
    size_t n = std::fread(buffer, 1, size, file);
    if (std::ferror(file))
    {
        zbExtLastError.SetErrno(errno);
        std::free(buffer);
        std::fclose(file);
        return 1;
    }
    if (iLast && (n == 0 || buffer[n - 1] != iLast))
        buffer[n++] = iLast;
    buffer[n] = 0;
    oBuffer = buffer;
    oSize = static_cast<unsigned int>(n);
    if (std::fclose(file) != 0)
    {
        zbExtLastError.SetErrno(errno);
        return 1;
    }
    return 0;
}
