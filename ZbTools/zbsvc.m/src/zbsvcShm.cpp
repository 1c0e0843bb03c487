// zbsvc shm: named blocks in shared memory.
//
//   zbsvc shm serve [-size BYTES] [-ratio N] KEY=FILE ...
//       publishes the files as blocks in a new segment, prints its name and
//       the use of its index and data areas, then waits for SIGINT, SIGTERM
//       or SIGHUP, removes the segment and ends with the signal's number.
//   zbsvc shm get [-size BYTES] [-ratio N] NAME KEY [OUT]
//       writes the block KEY of the segment NAME to OUT (replaced once the
//       block is complete) or to standard output.
//   zbsvc shm list [-size BYTES] [-ratio N] NAME
//       prints the index lines of the segment, "KEY|LENGTH".
//
// Clients must give the -size and -ratio the server was given.  The
// segment never outlives its server: every failure after its creation and
// every stop removes it.  The stop signals are blocked before the segment
// exists and taken by sigwait, so no handler runs and none can come between
// the creation and the removal.

#include <cerrno>
#include <csignal>
#include <string>

#include "zbDescriptor.h"
#include "zbGetopts.h"
#include "zbReport.h"
#include "zbSharedMemoryC.h"
#include "zbSharedMemoryS.h"
#include "zbsvcVerbs.h"

namespace
{
// A decimal number from 1 to 2^32 - 1, nothing else.
int ParsePositive(const char* iText, unsigned int& oValue)
{
    unsigned long long value = 0;
    const char* p = iText;
    for (; *p >= '0' && *p <= '9'; ++p)
        if ((value = value * 10 + static_cast<unsigned>(*p - '0')) > 0xFFFFFFFFull)
            return 1;
    if (p == iText || *p || value == 0)
        return 1;
    oValue = static_cast<unsigned int>(value);
    return 0;
}

void DeclareSizes(zbsvcOptions& ioOptions)
{
    ioOptions.DeclareValue("size", "BYTES", "segment size in bytes (2097152)");
    ioOptions.DeclareValue("ratio", "N", "the index takes 1/N of the segment (10)");
}

// -1 when the verb goes on with the sizes, else the usage error status.
int GetSizes(zbsvcOptions& ioOptions, unsigned int& oSize, unsigned int& oRatio)
{
    oSize = zbSharedMemory::DefaultSize;
    oRatio = zbSharedMemory::DefaultIndexRatio;
    const QORString* size = ioOptions.GetSwitchValue("size");
    const QORString* ratio = ioOptions.GetSwitchValue("ratio");
    if ((size && ParsePositive(size->CastToCharPtr(), oSize)) ||
        (ratio && ParsePositive(ratio->CastToCharPtr(), oRatio)))
    {
        return zbsvcUsageError(ioOptions, "-size and -ratio expect a number from 1 to 4294967295");
    }
    return -1;
}

// Declares the sizes, analyses the line, reads the sizes: -1 when the verb
// goes on, else its exit status.
int Analyze(zbsvcOptions& ioOptions, int argc, char** argv, int iMinValues, int iMaxValues,
            unsigned int& oSize, unsigned int& oRatio)
{
    DeclareSizes(ioOptions);
    int status = zbsvcAnalyze(ioOptions, argc, argv, iMinValues, iMaxValues);
    return status >= 0 ? status : GetSizes(ioOptions, oSize, oRatio);
}

int ReportMemory(const char* iName, const zbSharedMemory& iMemory)
{
    return zbReportMessage("zbsvc.shm.Failed",
                           {QORUnicodeString(iName), iMemory.GetzbSharedMemoryLastError()});
}

// Appends every KEY=FILE; 0, or 1 after a report.
int Publish(zbSharedMemoryS& ioServer, const QORListValQORString& iValues)
{
    for (const QORString& value : iValues)
    {
        const std::string& text = value.Std();
        const size_t equal = text.find('=');
        const std::string key = text.substr(0, equal), file = text.substr(equal + 1);
        std::string data;
        if (int error = zbReadFile(file.c_str(), data))
            return zbReportSystemError(file.c_str(), error);
        if (data.size() > 0xFFFFFFFFull)
            return zbReportSystemError(file.c_str(), EFBIG);
        if (ioServer.Append(key.c_str(), data.data(), static_cast<unsigned int>(data.size())))
            return zbReportMessage("zbsvc.shm.BlockRefused",
                                   {QORUnicodeString(key.c_str()), QORUnicodeString(file.c_str()),
                                    QORUnicodeString(ioServer.GetName()),
                                    ioServer.GetzbSharedMemoryLastError()});
    }
    return 0;
}

int Serve(int argc, char** argv)
{
    zbsvcOptions options("zbsvc shm serve");
    unsigned int size, ratio;
    int status = Analyze(options, argc, argv, 1, -1, size, ratio);
    if (status >= 0)
        return status;
    const QORListValQORString& values = *options.GetAllLineValues();
    for (const QORString& value : values)
        if (value.Std().find('=') == std::string::npos || value.Std()[0] == '=')
        {
            return zbsvcUsageError(
                options, ("expects KEY=FILE arguments, not '" + value.Std() + "'").c_str());
        }

    // The stop signals wait, blocked, from before the segment exists until
    // sigwait takes one.  A closed standard output is a write error, not
    // the end of the process.
    sigset_t stops;
    sigemptyset(&stops);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&stops, signal);
    sigprocmask(SIG_BLOCK, &stops, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    zbSharedMemoryS server(size, ratio);
    if (server.Open())
        return ReportMemory("-", server);
    status = Publish(server, values);
    if (status == 0)
    {
        double indexUse = 0, dataUse = 0;
        server.GetInfo(indexUse, dataUse);
        zbsvcPrint("%s\n", server.GetName());
        zbsvcPrint("index %.2f%% used (%u of %u bytes), data %.2f%% used (%u of %u bytes)\n",
                   indexUse, server.GetIndexUsed() + 1, server.GetIndexSize(), dataUse,
                   server.GetDataUsed(), server.GetDataSize());
        // Nobody can learn the name: no waiting (the end of the run
        // reports the failed write).
        if (zbsvcFlushOutput())
            status = 1;
    }
    if (status == 0)
    {
        int signal = 0;
        while (sigwait(&stops, &signal) != 0)
            ;
        status = signal;
    }
    const std::string name = server.GetName();
    if (server.Close())
        status = ReportMemory(name.c_str(), server);
    return status;
}

int Get(int argc, char** argv)
{
    zbsvcOptions options("zbsvc shm get");
    unsigned int size, ratio;
    int status = Analyze(options, argc, argv, 2, 3, size, ratio);
    if (status >= 0)
        return status;
    const QORListValQORString& values = *options.GetAllLineValues();
    const char* name = values[1].CastToCharPtr();
    const char* key = values[2].CastToCharPtr();
    const char* out = values.Size() == 3 ? values[3].CastToCharPtr() : nullptr;

    zbSharedMemoryC client(size, ratio);
    if (client.Open(name))
        return ReportMemory(name, client);
    char* data = nullptr;
    unsigned int length = 0;
    if (client.Extract(key, &data, &length))
        return zbReportMessage("zbsvc.shm.NoBlock", {QORUnicodeString(name), QORUnicodeString(key),
                                                     client.GetzbSharedMemoryLastError()});
    int error = out ? zbReplaceFile(out, data, length, 0644, false) : 0;
    if (!out && length)
        zbsvcWrite(data, length);
    delete[] data;
    return error ? zbReportSystemError(out, error) : 0;
}

int List(int argc, char** argv)
{
    zbsvcOptions options("zbsvc shm list");
    unsigned int size, ratio;
    int status = Analyze(options, argc, argv, 1, 1, size, ratio);
    if (status >= 0)
        return status;
    const char* name = (*options.GetAllLineValues())[1].CastToCharPtr();
    zbSharedMemoryC client(size, ratio);
    const char* index = client.Open(name) ? nullptr : client.GetIndex();
    if (!index)
        return ReportMemory(name, client);
    zbsvcPuts(index);
    return 0;
}

} // namespace

const zbsvcVerb zbsvcShmVerbs[] = {
    /* 1 */
    {"serve", Serve, "[-size BYTES] [-ratio N] KEY=FILE ...",
     "publish the files as blocks of a new segment until SIGINT or SIGTERM", nullptr},
    /* 2 */
    {"get", Get, "[-size BYTES] [-ratio N] NAME KEY [OUT]", "write one block of a segment",
     nullptr},
    /* 3 */
    {"list", List, "[-size BYTES] [-ratio N] NAME", "print the index lines of a segment", nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

int zbsvcShm(int argc, char** argv)
{
    return zbsvcRunTable("zbsvc shm", zbsvcShmVerbs, argc, argv);
}
