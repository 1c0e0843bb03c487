// zbsvc ls [-r] [-f | -d] DIR ...: the directory walker, one full path per line.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "zbContext.h"
#include "zbDirectoryListing.h"
#include "zbErrorCodeManager.h"
#include "zbTraceManager.h"
#include "zbsvcVerbs.h"

static int LsUsage()
{
    std::fprintf(stderr, "Usage: zbsvc ls [-r] [-f | -d] DIR ...\n");
    return 2;
}

int zbsvcLs(int argc, char** argv)
{
    zbDirectoryListing::ListingMode mode = zbDirectoryListing::GivenDirectoriesOnly;
    zbDirectoryListing::ListedEntries entries = zbDirectoryListing::AllEntries;
    int first = 1;
    bool selected = false;
    for (; first < argc && argv[first][0] == '-'; ++first)
    {
        const char* option = argv[first];
        if (!std::strcmp(option, "--"))
        {
            ++first;
            break;
        }
        if (!std::strcmp(option, "-r"))
            mode = zbDirectoryListing::Recursive;
        else if (!std::strcmp(option, "-f") && !selected)
            entries = zbDirectoryListing::AllButDirectories, selected = true;
        else if (!std::strcmp(option, "-d") && !selected)
            entries = zbDirectoryListing::DirectoriesOnly, selected = true;
        else
            return LsUsage();
    }
    if (first >= argc)
        return LsUsage();

    // The walker skips unreadable directories silently: the ones given are
    // checked here so that a wrong argument is reported.
    int status = 0;
    QORListValQORString roots;
    for (int i = first; i < argc; ++i)
    {
        struct stat64 st;
        int error = ::stat64(argv[i], &st) != 0 ? errno : (S_ISDIR(st.st_mode) ? 0 : ENOTDIR);
        if (error)
        {
            zbExtLastError.SetErrno(error);
            zbExtContext.GetTraceMngr()->Print(MSG_KEY_systError, stderr, QORUnicodeString(argv[i]),
                                               zbExtLastError.GetMsgError());
            status = 1;
            continue;
        }
        roots.Append(QORString(argv[i]));
    }

    static char outputBuffer[1 << 16];
    std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);
    zbDirectoryListing listing(roots);
    listing.SetListingMode(mode);
    listing.SetListedEntries(entries);
    while (const char* path = listing.GetEntry())
    {
        fputs_unlocked(path, stdout);
        putc_unlocked('\n', stdout);
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
    {
        zbExtLastError.SetErrno(errno ? errno : EIO);
        zbExtContext.GetTraceMngr()->Print(MSG_KEY_systError, stderr, QORUnicodeString("<stdout>"),
                                           zbExtLastError.GetMsgError());
        status = 1;
    }
    if (listing.GetSkipped() > 0)
        status = 1;
    return status;
}
