#include "QORStackTrace.h"

#include <cerrno>
#include <cstdlib>
#include <cxxabi.h>
#include <execinfo.h>
#include <unistd.h>

#include "QORDemangler.h"
#include "QORFixedLine.h"
#include "QORSymbolTable.h"

namespace
{
// The table the printer names frames from, built by Prepare; never freed
// while a signal handler might read it (the one it replaces is let go only
// once the new one is in place).
QORSymbolTable* sTable = nullptr;

void WriteAll(int iFd, const char* iData, size_t iLength)
{
    while (iLength)
    {
        ssize_t n = ::write(iFd, iData, iLength);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        iData += n, iLength -= static_cast<size_t>(n);
    }
}

// The name of a symbol: demangled by the platform (which allocates) on a
// stream, by our own demangler in a signal handler; as it is when neither
// knows it.
void AppendName(const char* iName, bool iSignalSafe, QORFixedLine& oLine)
{
    size_t start = oLine.Length();
    if (iSignalSafe)
    {
        if (QORDemangler(iName, oLine).Run())
            return;
        oLine.Cut(start);
        oLine << iName;
        return;
    }
    int status = 0;
    char* demangled = abi::__cxa_demangle(iName, nullptr, nullptr, &status);
    oLine << (status == 0 && demangled ? demangled : iName);
    std::free(demangled);
}

// The one printer: "#N function (module+0xoffset)" for each frame from
// iFirst, at most iMax (all when 0), to iStream, or with write(2) to iFd
// without allocating when iStream is null.
void PrintFrames(void* const* iFrames, int iCount, int iFirst, int iMax, FILE* iStream, int iFd)
{
    const bool signalSafe = !iStream;
    const QORSymbolTable* table = sTable;
    int printed = 0;
    for (int i = iFirst < 0 ? 0 : iFirst; i < iCount && (iMax <= 0 || printed < iMax); ++i)
    {
        // A return address may follow the function's last instruction: the
        // call is looked up one byte before it.
        uintptr_t address = reinterpret_cast<uintptr_t>(iFrames[i]);
        const QORSymbol* symbol = nullptr;
        const QORLoadedObject* object = table ? table->Find(address - 1, &symbol) : nullptr;
        QORFixedLine line;
        line << "#";
        line.Number(static_cast<uintptr_t>(printed++), 10) << " ";
        if (symbol)
            AppendName(symbol->_Name, signalSafe, line);
        else
            line << "??";
        line << " (" << (object ? object->_Name.c_str() : "?") << "+0x";
        line.Number(object ? address - object->_Base : 0, 16) << ")\n";
        if (iStream)
            std::fwrite(line.Data(), 1, line.Length(), iStream);
        else
            WriteAll(iFd, line.Data(), line.Length());
    }
    if (iStream)
        std::fflush(iStream);
}
// The first frame of a caller's own: the one before the frame that returns
// into its caller (iReturn), whatever came in between (an interposed
// backtrace, as sanitizers have); 0 when it is not found.
int OwnFrame(void* const* iFrames, int iCount, void* iReturn)
{
    for (int i = 1; i < iCount; ++i)
        if (iFrames[i] == iReturn)
            return i - 1;
    return 0;
}
} // namespace

int QORStackTrace::GetTrace(QORBasicStackTrace& oTrace)
{
    // Frame 0 is this function's.
    void* frames[129];
    int n = ::backtrace(frames, 129);
    int first = OwnFrame(frames, n, __builtin_return_address(0));
    oTrace._Frames.assign(frames + first, frames + (n > first ? n : first));
    return static_cast<int>(oTrace._Frames.size());
}

void QORStackTrace::Prepare()
{
    void* frames[4];
    ::backtrace(frames, 4); // loads the unwinder now, not in a handler
    QORSymbolTable* old = sTable;
    sTable = new QORSymbolTable;
    delete old;
}

int QORStackTrace::IsPrepared()
{
    return sTable ? 1 : 0;
}

void QORStackTrace::WriteCurrent(int iFd, int iSkip)
{
    void* frames[64];
    int count = ::backtrace(frames, 64);
    int first = OwnFrame(frames, count, __builtin_return_address(0)) + 1;
    PrintFrames(frames, count, first + (iSkip > 0 ? iSkip : 0), 0, nullptr, iFd);
}

void QORBasicStackTrace::Print(FILE* iStream, int iSkip, int iMax) const
{
    if (!iStream)
        return;
    QORStackTrace::Prepare(); // the objects loaded by now
    PrintFrames(_Frames.data(), static_cast<int>(_Frames.size()), iSkip, iMax, iStream, -1);
}
