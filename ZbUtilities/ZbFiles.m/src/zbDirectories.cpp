#include "zbDirectories.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "zbContext.h"
#include "zbDirectory.h"
#include "zbErrorCodeManager.h"
#include "zbFileName.h"
#include "zbFileOperations.h"
#include "zbPathSeparators.h"
#include "zbReport.h"
#include "zbTraceManager.h"

namespace
{
inline bool IsSeparator(char iChar)
{
    return iChar == zbUnixPathSeparator[0] || iChar == zbDosPathSeparator[0];
}

// ioPath is a writable copy; its parents are created first.
int CreateDirectory(std::string& ioPath)
{
    struct stat64 st;
    if (::stat64(ioPath.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode) ? 0 : zbRecordErrno(ENOTDIR);
    size_t slash = ioPath.find_last_of(zbPathSeparator[0]);
    if (slash != std::string::npos && slash > 0)
    {
        std::string parent(ioPath, 0, slash);
        if (::stat64(parent.c_str(), &st) != 0 && CreateDirectory(parent) != 0)
            return 1;
    }
    if (::mkdir(ioPath.c_str(), 0755) == 0)
        return 0;
    int error = errno;
    if (error == EEXIST)
    {
        // Made meanwhile by someone else: fine when it is a directory.
        if (::stat64(ioPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            return 0;
        error = ENOTDIR;
    }
    return zbRecordErrno(error);
}

// Removes the directory ioPath with everything below it; ioPath is used as
// the working buffer for the full names and restored on return.  The
// entries are listed whole first, then removed relative to the directory;
// its subdirectories are removed once it is closed again, so that no
// directory stays open during the descent (a deep tree would otherwise run
// out of descriptors).
int RemoveTree(std::string& ioPath)
{
    std::vector<std::string> subdirectories;
    {
        zbDirectory directory(ioPath.c_str());
        std::vector<std::pair<std::string, unsigned char>> entries;
        for (struct dirent64* entry = directory.FindFirstEnt(); entry;
             entry = directory.FindNextEnt())
            entries.emplace_back(entry->d_name, entry->d_type);
        if (directory.Failed())
            return 1; // recorded by the reader
        const int fd = directory.GetFd();
        for (const auto& [name, type] : entries)
        {
            struct stat64 st;
            if (type == DT_DIR || type == DT_UNKNOWN)
            {
                if (::fstatat64(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
                    return zbRecordErrno(errno);
                if (S_ISDIR(st.st_mode))
                {
                    // A read-only subdirectory is opened up for its owner first.
                    if ((st.st_mode & 0700) != 0700)
                        (void)::fchmodat(fd, name.c_str(), (st.st_mode & 07777) | 0700, 0);
                    subdirectories.push_back(name);
                    continue;
                }
            }
            if (::unlinkat(fd, name.c_str(), 0) != 0)
                return zbRecordErrno(errno);
        }
    }
    const size_t base = ioPath.size();
    int result = 0;
    for (const std::string& name : subdirectories)
    {
        ioPath.resize(base);
        ioPath += zbPathSeparator[0];
        ioPath += name;
        if ((result = RemoveTree(ioPath)) != 0)
            break;
    }
    ioPath.resize(base);
    if (result == 0 && ::rmdir(ioPath.c_str()) != 0)
        result = zbRecordErrno(errno);
    return result;
}
} // namespace

char* zbDosifyPath(char* ioPath)
{
    if (ioPath)
        for (char* p = ioPath; *p; ++p)
            if (*p == zbUnixPathSeparator[0])
                *p = zbDosPathSeparator[0];
    return ioPath;
}

char* zbUnixifyPath(char* ioPath)
{
    if (ioPath)
        for (char* p = ioPath; *p; ++p)
            if (*p == zbDosPathSeparator[0])
                *p = zbUnixPathSeparator[0];
    return ioPath;
}

char* zbEatEndingSlash(char* ioPath)
{
    if (!ioPath || !*ioPath)
        return ioPath;
    size_t length = std::strlen(ioPath);
    while (length > 1 && IsSeparator(ioPath[length - 1]))
        ioPath[--length] = 0;
    return ioPath;
}

void zbSplitPathConcatenation(QORListValQORString& oOut, const char* iConcat, const char iSeparator)
{
    if (!iConcat)
        return;
    const char* start = iConcat;
    for (const char* p = iConcat;; ++p)
    {
        if (*p == iSeparator || *p == 0)
        {
            if (p > start)
                oOut.Append(QORString(start, static_cast<size_t>(p - start)));
            if (*p == 0)
                return;
            start = p + 1;
        }
    }
}

void zbCreatePathConcatenation(QORString& oOut, const QORListValQORString& iDirs,
                               const char* iPrefix, const char* iSeparator, const int iQuote)
{
    const char* separator = iSeparator ? iSeparator : zbPathConcatSeparator;
    // Separators go only between kept elements: a trailing one would add an
    // empty element, which path lists read as the working directory.
    bool first = true;
    for (const QORString& dir : iDirs)
    {
        struct stat64 st;
        if (::stat64(dir.CastToCharPtr(), &st) != 0 || !S_ISDIR(st.st_mode))
            continue;
        if (!first)
            oOut.Append(separator);
        first = false;
        if (iPrefix)
            oOut.Append(iPrefix);
        if (iQuote)
            oOut.Append("\"");
        oOut.Append(dir);
        if (iQuote)
            oOut.Append("\"");
    }
}

int zbGetWorkspacesConcatenation(const QORString& iWS, QORListValQORString& oOut,
                                 const char* iSuffix)
{
    QORString file = iWS + zbPathSeparator + "Install_config";
    if (zbAccessFile(file.CastToCharPtr()) != 0)
        return zbExtLastError.SetErrno(ENOENT);
    // Read whole as text: a NUL byte is refused.
    char* buffer = nullptr;
    unsigned int size = 0;
    if (zbMMap(file.CastToCharPtr(), 8, buffer, size, 0) != 0)
    {
        int error = zbExtLastError.GetErrno();
        zbReportLastError(file.CastToCharPtr());
        return error;
    }
    // A file of fewer than two lines is not a workspace configuration; the
    // second line may end without a line feed.
    const char* end = buffer + size;
    const char* first =
        buffer ? static_cast<const char*>(std::memchr(buffer, '\n', size)) : nullptr;
    if (!first || first + 1 >= end)
    {
        std::free(buffer);
        zbExtLastError.SetErrno(EBADF);
        zbReportMessage("zbDirectories.BadInstallConfig", {QORUnicodeString(file)});
        return EBADF;
    }
    const char* second = first + 1;
    const char* secondEnd =
        static_cast<const char*>(std::memchr(second, '\n', static_cast<size_t>(end - second)));
    const std::string line(second, secondEnd ? secondEnd : end);
    std::free(buffer);
    QORListValQORString elements;
    zbSplitPathConcatenation(elements, line.c_str(), zbPathConcatSeparator[0]);
    for (QORString& element : elements)
    {
        if (iSuffix)
            element.Append(iSuffix);
        oOut.Append(element);
    }
    return 0;
}

// $PWD keeps the user's spelling of the directory (symbolic links and
// all), but only while it still names the current directory: after a
// chdir it would name the old one.
char* zbGetPWD()
{
    char* pwd = std::getenv("PWD");
    if (pwd && *pwd == '/')
    {
        struct stat64 named, current;
        if (::stat64(pwd, &named) == 0 && ::stat64(".", &current) == 0 &&
            named.st_dev == current.st_dev && named.st_ino == current.st_ino)
            return pwd;
    }
    static char buffer[PATH_MAX + 1];
    return ::getcwd(buffer, sizeof buffer) ? buffer : nullptr;
}

int zbSetPWD(const char* iPath)
{
    if (iPath && ::chdir(iPath) == 0)
        return 0;
    zbExtLastError.SetErrno(iPath ? errno : EINVAL);
    return 1;
}

int zbCreateDirectory(const char* iPath, char* /*iWork*/)
{
    if (!iPath || !*iPath)
        return 0;
    std::string path(iPath);
    return CreateDirectory(path);
}

int zbCreateDirectory(const char* /*iCommand*/, char* const* iArgs)
{
    const char* path = iArgs ? iArgs[0] : nullptr;
    if (zbCreateDirectory(path) == 0)
        return 0;
    zbReportLastError(path);
    return 1;
}

int zbCreateOrReplaceDirectory(const char* iPath)
{
    return zbCreateDirectory(iPath);
}

int zbCreateOrReplaceDirectory(const char* iCommand, char* const* iArgs)
{
    return zbCreateDirectory(iCommand, iArgs);
}

int zbCreateDirectoryFromDirname(const zbFileName& iName)
{
    QORString dirname;
    iName.GetDirname(dirname);
    if (zbCreateDirectory(dirname.CastToCharPtr()) == 0)
        return 0;
    zbReportLastError(dirname.CastToCharPtr());
    return 1;
}

int zbCreateOrReplaceDirectoryFromDirname(const zbFileName& iName)
{
    QORString dirname;
    iName.GetDirname(dirname);
    return zbCreateDirectory(dirname.CastToCharPtr());
}

int zbRemoveDirectory(const char* iPath, const int& /*iFlags*/)
{
    struct stat64 st;
    if (!iPath || !*iPath || ::lstat64(iPath, &st) != 0)
        return 0;
    if (S_ISLNK(st.st_mode))
        return ::unlink(iPath) == 0 ? 0 : zbRecordErrno(errno);
    if (!S_ISDIR(st.st_mode))
        return zbRecordErrno(ENOTDIR);
    std::string path(iPath);
    return RemoveTree(path);
}

int zbRemoveDirectory(const char* /*iCommand*/, char* const* iArgs)
{
    const char* path = iArgs ? iArgs[0] : nullptr;
    if (zbRemoveDirectory(path, 0) == 0)
        return 0;
    zbReportLastError(path);
    return 1;
}

int zbRemoveDirectoryFromDirname(const zbFileName& iName)
{
    QORString dirname;
    iName.GetDirname(dirname);
    return zbRemoveDirectory(dirname.CastToCharPtr(), 0);
}
