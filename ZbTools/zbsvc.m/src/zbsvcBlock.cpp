// zbsvc block: versioned block files.
//
//   zbsvc block info FILE, pack [-crypt] -v A.B.C IN OUT, unpack IN OUT:
//   the rows of zbsvcBlockVerbs below.

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

#include "zbDescriptor.h"
#include "zbErrorCodeManager.h"
#include "zbFileBufferVersioned.h"
#include "zbReport.h"
#include "zbsvcVerbs.h"

namespace
{

// "A.B.C": three decimal numbers that each fit in 32 bits, nothing else.
int ParseVersion(const char* iText, unsigned int oVersion[3])
{
    const char* p = iText;
    for (int i = 0; i < 3; ++i)
    {
        if (*p < '0' || *p > '9')
            return 1;
        unsigned long long value = 0;
        while (*p >= '0' && *p <= '9')
        {
            value = value * 10 + static_cast<unsigned>(*p++ - '0');
            if (value > 0xFFFFFFFFull)
                return 1;
        }
        oVersion[i] = static_cast<unsigned int>(value);
        if (i < 2 && *p++ != '.')
            return 1;
    }
    return *p ? 1 : 0;
}

int Info(int argc, char** argv)
{
    zbsvcOptions options("zbsvc block info");
    int status = zbsvcAnalyze(options, argc, argv, 1, 1);
    if (status >= 0)
        return status;
    int index = 1;
    const char* path = zbsvcInputName(*options.GetLineValue(index));
    if (!path)
        return 1;
    // A file that cannot be read says so, whatever its size (the block
    // reader checks the size first); a fifo is not waited for here.
    zbScopedFd readable(zbOpenFd(path, O_RDONLY | O_NONBLOCK));
    if (!readable.IsOpen())
    {
        zbRecordErrno(errno);
        return zbReportMessage("filebuf.systError",
                               {QORUnicodeString(path), zbExtLastError.GetMsgError()});
    }
    readable.Close();
    zbFileBufferVersioned block;
    if (block.ReadFromFile(path) != 0)
        return zbReportText(block.GetLastErrorMessage());
    block.Dump(zbsvcOutput());
    return 0;
}

int Pack(int argc, char** argv)
{
    zbsvcOptions options("zbsvc block pack");
    options.DeclareSwitch("crypt", "store the version and the data scrambled");
    options.DeclareValue("v", "A.B.C", "version of the block, three numbers");
    int status = zbsvcAnalyze(options, argc, argv, 2, 2);
    if (status >= 0)
        return status;
    QORListValQORString* versions = options.GetSwitchAllValues("v");
    unsigned int version[3];
    if (!versions || versions->Size() != 1 || ParseVersion((*versions)[1], version) != 0)
        return zbsvcUsageError(options, "expects one version -v A.B.C (three numbers)");
    int index = 1;
    const char* in = zbsvcInputName(*options.GetLineValue(index));
    const char* out = *options.GetLineValue(index);
    if (!in)
        return 1;

    // A file beyond what the block's 32-bit lengths can count is refused
    // before it is read.
    struct stat64 st;
    if (stat64(in, &st) != 0)
        return zbReportSystemError(in, errno);
    if (static_cast<unsigned long long>(st.st_size) >
        zbFileBufferVersioned::MaxBlockLength - zbFileBufferVersioned::HeaderLength)
        return zbReportMessage("filebuf.badSize", {QORUnicodeString(in)});

    // The data goes from the input to the block file through a small
    // buffer.
    zbFileBufferVersioned block;
    status = block.PackFile(in, out, version, options.GetSwitchStatus("crypt") ? 1 : 0);
    if (status == 1)
        return zbReportLastError(in);
    if (status != 0)
        return zbReportText(block.GetLastErrorMessage());
    if (st.st_size == 0)
        zbReportWarning("zbsvc.block.emptyData", {QORUnicodeString(in), QORUnicodeString(out)});
    return 0;
}

int Unpack(int argc, char** argv)
{
    zbsvcOptions options("zbsvc block unpack");
    int status = zbsvcAnalyze(options, argc, argv, 2, 2);
    if (status >= 0)
        return status;
    int index = 1;
    const char* in = zbsvcInputName(*options.GetLineValue(index));
    const char* out = *options.GetLineValue(index);
    if (!in)
        return 1;
    zbFileBufferVersioned block;
    if (block.ReadFromFile(in) != 0)
        return zbReportText(block.GetLastErrorMessage());
    if (block.GetCryptLevel() != 0)
        block.DecryptBuffer();
    // The old OUT stays whole until the new content is complete.
    if (int error = zbReplaceFile(out, block.GetBuffer(), block.GetBufferLength()))
        return zbReportSystemError(out, error);
    return 0;
}
} // namespace

const zbsvcVerb zbsvcBlockVerbs[] = {
    /* 1 */ {"info", Info, "FILE", "check a versioned block file and print its dump", nullptr},
    /* 2 */
    {"pack", Pack, "[-crypt] -v A.B.C IN OUT", "save the bytes of IN as a block of version A.B.C",
     nullptr},
    /* 3 */
    {"unpack", Unpack, "IN OUT", "write back the user data of a block, descrambled", nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

int zbsvcBlock(int argc, char** argv)
{
    return zbsvcRunTable("zbsvc block", zbsvcBlockVerbs, argc, argv);
}
