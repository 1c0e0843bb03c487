// zbsvc block: versioned block files.
//
//   zbsvc block info FILE                        checks FILE and prints its dump
//   zbsvc block pack [-crypt] -v A.B.C IN OUT    saves the bytes of IN as a block
//   zbsvc block unpack IN OUT                    writes back the user data of IN

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

#include "zbContext.h"
#include "zbErrorCodeManager.h"
#include "zbFileBufferVersioned.h"
#include "zbGetopts.h"
#include "zbMsgManager.h"
#include "zbOFStream.h"
#include "zbTraceManager.h"
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
    zbGetopts options("zbsvc block info");
    int status = zbsvcAnalyze(options, argc, argv, "FILE", 1, 1);
    if (status >= 0)
        return status;
    int index = 1;
    const char* path = *options.GetLineValue(index);
    zbFileBufferVersioned block;
    if (block.ReadFromFile(path) != 0)
        return zbsvcReportError(block.GetLastErrorMessage());
    block.Dump(zbStdout);
    return zbStdout.Flush() ? 1 : 0;
}

int Pack(int argc, char** argv)
{
    zbGetopts options("zbsvc block pack");
    options.AddSimpleSwitch("crypt", "store the version and the data scrambled", 1);
    options.AddValuedSwitch("v", "version of the block, A.B.C", 1);
    int status = zbsvcAnalyze(options, argc, argv, "IN OUT", 2, 2);
    if (status >= 0)
        return status;
    QORListValQORString* versions = options.GetSwitchAllValues("v");
    unsigned int version[3];
    if (!versions || versions->Size() != 1 || ParseVersion((*versions)[1], version) != 0)
    {
        zbStderr.Print("%s: expects one version -v A.B.C (three numbers)\n", options.GetArgv0());
        options.Usage(zbStderr);
        return 2;
    }
    int index = 1;
    const char* in = *options.GetLineValue(index);
    const char* out = *options.GetLineValue(index);

    // A file beyond what the block's 32-bit lengths can count is refused
    // before it is read.
    struct stat64 st;
    if (stat64(in, &st) != 0)
        return zbsvcReportSystemError(in, errno);
    if (static_cast<unsigned long long>(st.st_size) >
        zbFileBufferVersioned::MaxBlockLength - zbFileBufferVersioned::HeaderLength)
        return zbsvcReportError(zbExtContext.GetMsgMngr()->GetMsg("filebuf.badSize", in));

    // A file with data goes from the input to the block file through a
    // small buffer; an empty one (a warning) the way of any block.
    zbFileBufferVersioned block;
    if (st.st_size > 0)
    {
        status = block.PackFile(in, out, version, options.GetSwitchStatus("crypt") ? 1 : 0);
        if (status == 1)
            return zbsvcReportSystemError(in, zbExtLastError.GetErrno());
        if (status != 0)
            return zbsvcReportError(block.GetLastErrorMessage());
        return 0;
    }
    if (block.SetBufferFromFile(in) != 0)
        return zbsvcReportSystemError(in, zbExtLastError.GetErrno());
    if (block.GetBufferLength() == 0)
        zbExtContext.GetTraceMngr()->Print(
            MSG_KEY_zbzbWarning, stderr,
            zbExtContext.GetMsgMngr()->GetMsg("zbsvc.block.emptyData", in, out));
    block.SetVersion(version[0], version[1], version[2]);
    if (options.GetSwitchStatus("crypt"))
        block.CryptBuffer();
    if (block.WriteToFile(out) != 0)
        return zbsvcReportError(block.GetLastErrorMessage());
    return 0;
}

int Unpack(int argc, char** argv)
{
    zbGetopts options("zbsvc block unpack");
    int status = zbsvcAnalyze(options, argc, argv, "IN OUT", 2, 2);
    if (status >= 0)
        return status;
    int index = 1;
    const char* in = *options.GetLineValue(index);
    const char* out = *options.GetLineValue(index);
    zbFileBufferVersioned block;
    if (block.ReadFromFile(in) != 0)
        return zbsvcReportError(block.GetLastErrorMessage());
    if (block.GetCryptLevel() != 0)
        block.DecryptBuffer();
    zbOFStream stream(out, 4);
    if (!stream.IsOpen())
        return zbsvcReportSystemError(out, stream.GetErrno());
    if (stream.Write(block.GetBuffer(), block.GetBufferLength()) != 0)
        return zbsvcReportSystemError(out, stream.GetErrno());
    if (stream.Close() != 0)
        return zbsvcReportSystemError(out, stream.GetErrno());
    return 0;
}

struct SubVerb
{
    const char* _Name;
    int (*_Run)(int argc, char** argv);
    const char* _Synopsis;
};

const SubVerb kSubVerbs[] = {
    {"info", Info, "info FILE: checks a block file and prints its dump"},
    {"pack", Pack, "pack [-crypt] -v A.B.C IN OUT: saves the bytes of IN as a block"},
    {"unpack", Unpack, "unpack IN OUT: writes back the user data of a block"},
};

void BlockUsage(zbOFStream& oStream)
{
    oStream.Print("zbsvc block usage:\n");
    for (const SubVerb& sub : kSubVerbs)
        oStream.Print("   zbsvc block %s\n", sub._Synopsis);
}
} // namespace

int zbsvcBlock(int argc, char** argv)
{
    if (argc >= 2 && (!std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "--help")))
    {
        BlockUsage(zbStdout);
        return 0;
    }
    if (argc >= 2)
        for (const SubVerb& sub : kSubVerbs)
            if (!std::strcmp(argv[1], sub._Name))
                return sub._Run(argc - 1, argv + 1);
    if (argc >= 2)
        zbStderr.Print("zbsvc block: unknown action '%s'\n", argv[1]);
    BlockUsage(zbStderr);
    return 2;
}
