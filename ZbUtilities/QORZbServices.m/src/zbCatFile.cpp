#include "zbCatFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "zbContext.h"
#include "zbDescriptor.h"
#include "zbReport.h"
#include "zbTraceManager.h"

namespace
{
const size_t kChunk = 16384;

// Reads the file named by iArgs[0] and prints it on iStream through the
// trace manager, converted for the console when asked.
int CatToTraceManager(char* const* iArgs, FILE* iStream, bool iToConsole)
{
    const char* path = iArgs ? iArgs[0] : nullptr;
    QORUnicodeString text;
    if (zbCatFileToUnicodeStringForMsg(path, text))
        return zbReportLastError(path ? path : "");
    if (iToConsole)
        ConvertToConsole(text);
    return zbExtContext.GetTraceMngr()->Print(iStream, text);
}
} // namespace

int zbCatFileToUnicodeStringForMsg(const char* iPath, QORUnicodeString& ioText)
{
    errno = 0;
    FILE* file = iPath ? zbOpenStream(iPath, "r") : nullptr;
    if (!file)
        return zbRecordErrno(errno ? errno : EINVAL);
    char chunk[kChunk + 1];
    int failed = 0;
    for (;;)
    {
        size_t count = std::fread(chunk, 1, kChunk, file);
        if (count)
        {
            chunk[count] = 0;
            ioText.Append(chunk);
        }
        if (count < kChunk)
        {
            if (std::ferror(file))
                failed = errno ? errno : EIO;
            break;
        }
    }
    if (std::fclose(file) != 0 && !failed)
        failed = errno ? errno : EIO;
    return failed ? zbRecordErrno(failed) : 0;
}

int zbCatFileToTraceManagerStdout(const char* /*iName*/, char* const* iArgs)
{
    return CatToTraceManager(iArgs, stdout, false);
}

int zbCatFileToTraceManagerStderr(const char* /*iName*/, char* const* iArgs)
{
    return CatToTraceManager(iArgs, stderr, false);
}

int zbCatFileToConsoleTraceManagerStdout(const char* /*iName*/, char* const* iArgs)
{
    return CatToTraceManager(iArgs, stdout, true);
}

int zbCatFileToConsoleTraceManagerStderr(const char* /*iName*/, char* const* iArgs)
{
    return CatToTraceManager(iArgs, stderr, true);
}

void ConvertToConsole(QORUnicodeString& ioText)
{
    const std::u32string& chars = ioText.Chars();
    if (chars.empty())
        return;
    QORUnicodeString shown;
    std::u32string visible;
    size_t lineStart = 0;
    while (lineStart < chars.size())
    {
        size_t lineEnd = chars.find(U'\n', lineStart);
        if (lineEnd == std::u32string::npos)
            lineEnd = chars.size(); // the last line, given its newline below
        visible.clear();
        // Each "\r"-separated segment rewrites the line from its start.
        size_t segment = lineStart;
        while (segment <= lineEnd)
        {
            size_t stop = chars.find(U'\r', segment);
            if (stop == std::u32string::npos || stop > lineEnd)
                stop = lineEnd;
            size_t length = stop - segment;
            if (length >= visible.size())
                visible.assign(chars, segment, length);
            else
                visible.replace(0, length, chars, segment, length);
            segment = stop + 1;
        }
        for (char32_t c : visible)
            shown.Append(c);
        shown.Append(U'\n');
        lineStart = lineEnd + 1;
    }
    ioText = shown;
}
