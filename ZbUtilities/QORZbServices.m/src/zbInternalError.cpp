#include "zbInternalError.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <elf.h>
#include <execinfo.h>
#include <link.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "QORFatalError.h"
#include "QORStackTrace.h"
#include "zbContext.h"
#include "zbDescriptor.h"
#include "zbMsgManager.h"
#include "zbOFStream.h"
#include "zbTraceManager.h"

// The signal handlers end the process from wherever it was interrupted,
// maybe inside malloc or stdio: they only write texts prepared when the
// signals were trapped (zbTraceManager::WriteSignalReport) and end with
// _exit.  The stack trace of an abort is printed the same way: frames from
// backtrace (whose first call, which loads the unwinder, is made when the
// signals are trapped), named from a table of the loaded objects' dynamic
// symbols built at that moment, demangled into a buffer on the stack.

namespace
{
const int kTrapped[] = {SIGABRT, SIGINT, SIGTERM};

enum Kind
{
    None,
    Abort,
    Interrupt
};

// The kind of report prepared for each status (signal number).
Kind sPrepared[65] = {};

void PrepareReport(int iStatus, Kind iKind)
{
    if (iStatus <= 0 || iStatus >= 65)
        return;
    QORUnicodeString message;
    if (iKind == Abort)
    {
        QORUnicodeString status;
        status.BuildFromNum(iStatus, "%lld");
        message = zbExtContext.GetMsgMngr()->GetMsg("zbzbFatal.Abort", status);
    }
    else
        message = zbExtContext.GetMsgMngr()->GetMsg("zbzbFatal.Interrupt");
    zbExtContext.GetTraceMngr()->PrepareSignalReport(iStatus, MSG_KEY_zbzbFatal, message);
    sPrepared[iStatus] = iKind;
}

// ---------------------------------------------------------------- symbols

struct Symbol
{
    uintptr_t _Start;
    uintptr_t _Size;
    const char* _Name; // in the object's mapped string table
};

struct LoadedObject
{
    uintptr_t _Base;
    uintptr_t _Low, _High;
    std::string _Name;            // file name without directories
    std::vector<Symbol> _Symbols; // sorted by start
};

// Built when the signals are trapped; only read afterwards.
std::vector<LoadedObject>* sObjects = nullptr;

uintptr_t Relocated(uintptr_t iAddress, uintptr_t iBase)
{
    // The loader relocates most dynamic sections in place, not all.
    return iAddress < iBase ? iAddress + iBase : iAddress;
}

size_t SymbolCount(const ElfW(Word) * iHash, const uint32_t* iGnuHash)
{
    if (iHash)
        return iHash[1];
    if (!iGnuHash)
        return 0;
    uint32_t buckets = iGnuHash[0], offset = iGnuHash[1], bloomWords = iGnuHash[2];
    const uint32_t* bucket = reinterpret_cast<const uint32_t*>(
        reinterpret_cast<const ElfW(Addr)*>(iGnuHash + 4) + bloomWords);
    const uint32_t* chain = bucket + buckets;
    uint32_t last = 0;
    for (uint32_t i = 0; i < buckets; ++i)
        last = std::max(last, bucket[i]);
    if (last < offset)
        return offset;
    while (!(chain[last - offset] & 1))
        ++last;
    return last + 1;
}

int AddObject(struct dl_phdr_info* iInfo, size_t, void* ioObjects)
{
    auto& objects = *static_cast<std::vector<LoadedObject>*>(ioObjects);
    LoadedObject object;
    object._Base = iInfo->dlpi_addr;
    object._Low = UINTPTR_MAX, object._High = 0;
    const char* name = iInfo->dlpi_name && *iInfo->dlpi_name ? iInfo->dlpi_name : nullptr;
    std::string self;
    if (!name)
    {
        char path[4096];
        ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
        self.assign(path, n > 0 ? static_cast<size_t>(n) : 0);
        name = self.c_str();
    }
    const char* slash = std::strrchr(name, '/');
    object._Name = slash ? slash + 1 : name;
    const ElfW(Dyn)* dynamic = nullptr;
    for (int i = 0; i < iInfo->dlpi_phnum; ++i)
    {
        const ElfW(Phdr)& header = iInfo->dlpi_phdr[i];
        if (header.p_type == PT_LOAD)
        {
            object._Low = std::min<uintptr_t>(object._Low, object._Base + header.p_vaddr);
            object._High =
                std::max<uintptr_t>(object._High, object._Base + header.p_vaddr + header.p_memsz);
        }
        else if (header.p_type == PT_DYNAMIC)
            dynamic = reinterpret_cast<const ElfW(Dyn)*>(object._Base + header.p_vaddr);
    }
    const ElfW(Sym)* symbols = nullptr;
    const char* strings = nullptr;
    const ElfW(Word)* hash = nullptr;
    const uint32_t* gnuHash = nullptr;
    for (const ElfW(Dyn)* entry = dynamic; entry && entry->d_tag != DT_NULL; ++entry)
    {
        uintptr_t address = Relocated(entry->d_un.d_ptr, object._Base);
        if (entry->d_tag == DT_SYMTAB)
            symbols = reinterpret_cast<const ElfW(Sym)*>(address);
        else if (entry->d_tag == DT_STRTAB)
            strings = reinterpret_cast<const char*>(address);
        else if (entry->d_tag == DT_HASH)
            hash = reinterpret_cast<const ElfW(Word)*>(address);
        else if (entry->d_tag == DT_GNU_HASH)
            gnuHash = reinterpret_cast<const uint32_t*>(address);
    }
    size_t count = symbols && strings ? SymbolCount(hash, gnuHash) : 0;
    for (size_t i = 0; i < count; ++i)
    {
        const ElfW(Sym)& symbol = symbols[i];
        int type = ELF64_ST_TYPE(symbol.st_info);
        if (symbol.st_shndx == SHN_UNDEF || !symbol.st_value || !symbol.st_name ||
            (type != STT_FUNC && type != STT_GNU_IFUNC))
            continue;
        object._Symbols.push_back({object._Base + symbol.st_value,
                                   symbol.st_size ? symbol.st_size : 1, strings + symbol.st_name});
    }
    std::sort(object._Symbols.begin(), object._Symbols.end(),
              [](const Symbol& a, const Symbol& b) { return a._Start < b._Start; });
    objects.push_back(std::move(object));
    return 0;
}

void PrepareStackTrace()
{
    void* frames[4];
    ::backtrace(frames, 4); // loads the unwinder now, not in a handler
    auto* objects = new std::vector<LoadedObject>;
    ::dl_iterate_phdr(AddObject, objects);
    std::vector<LoadedObject>* old = sObjects;
    sObjects = objects;
    delete old;
}

// ---------------------------------------------------------------- output

// A line built in a fixed buffer; what does not fit is dropped.
class Line
{
  public:
    Line& operator<<(const char* iText)
    {
        while (iText && *iText && _Length < sizeof _Text)
            _Text[_Length++] = *iText++;
        return *this;
    }
    Line& Append(const char* iText, size_t iLength)
    {
        for (size_t i = 0; i < iLength && _Length < sizeof _Text; ++i)
            _Text[_Length++] = iText[i];
        return *this;
    }
    Line& Number(uintptr_t iValue, int iBase)
    {
        char digits[32];
        int n = 0;
        do
            digits[n++] = "0123456789abcdef"[iValue % static_cast<uintptr_t>(iBase)];
        while ((iValue /= static_cast<uintptr_t>(iBase)) && n < 32);
        while (n > 0 && _Length < sizeof _Text)
            _Text[_Length++] = digits[--n];
        return *this;
    }
    size_t Length() const { return _Length; }
    void Copy(char* oBuffer, size_t iFrom, size_t iLength) const
    {
        std::memcpy(oBuffer, _Text + iFrom,
                    std::min(iLength, sizeof _Text - std::min(iFrom, sizeof _Text)));
    }
    void Cut(size_t iLength) { _Length = std::min(_Length, iLength); }
    void Write(int iFd) const { zbWriteAll(iFd, _Text, _Length); }

  private:
    char _Text[1024];
    size_t _Length = 0;
};

// A demangler of the plain names of the library's functions
// (_Z17zbContextualAborti is "zbContextualAbort(int)"): nested names,
// built-in types, pointers, references, const and substitutions.  Anything
// else (templates, operators...) makes it fail; the symbol name is then
// printed as it is.
class Demangler
{
  public:
    Demangler(const char* iName, Line& oLine) : _P(iName), _Out(oLine) {}

    bool Run()
    {
        if (std::strncmp(_P, "_Z", 2))
            return false;
        _P += 2;
        size_t start = _Out.Length();
        if (!Name(true))
            return false;
        _Out << "(";
        if (*_P == 'v' && !_P[1])
            ++_P;
        for (bool first = true; *_P; first = false)
        {
            if (!first)
                _Out << ", ";
            if (!Type())
                return false;
        }
        _Out << (_ConstMember ? ") const" : ")");
        return _Out.Length() > start;
    }

  private:
    struct Piece
    {
        size_t _From, _To;
    };

    bool SourceName()
    {
        size_t length = 0;
        if (*_P < '1' || *_P > '9')
            return false;
        while (*_P >= '0' && *_P <= '9')
            length = length * 10 + static_cast<size_t>(*_P++ - '0');
        if (std::strlen(_P) < length)
            return false;
        _Out.Append(_P, length);
        _P += length;
        return true;
    }

    // A name, plain or nested (N [K] prefix... E); every prefix becomes a
    // substitution candidate, the function's own name excepted.
    bool Name(bool iFunction)
    {
        if (*_P != 'N')
        {
            size_t from = _Out.Length();
            if (!std::strncmp(_P, "St", 2))
                _P += 2, _Out << "std::";
            if (!SourceName())
                return false;
            if (!iFunction)
                Remember(from);
            return true;
        }
        ++_P;
        bool constMember = *_P == 'K';
        if (constMember)
            ++_P;
        size_t from = _Out.Length();
        for (bool first = true; *_P != 'E'; first = false)
        {
            if (!first)
                _Out << "::";
            if (!SourceName())
                return false;
            if (*_P != 'E' || !iFunction)
                Remember(from);
        }
        ++_P;
        if (iFunction)
            _ConstMember = constMember;
        return true;
    }

    void Remember(size_t iFrom)
    {
        if (_Count < 32)
            _Subs[_Count++] = {iFrom, _Out.Length()};
    }

    bool Type()
    {
        static const char* const kBuiltins[][2] = {
            {"v", "void"},
            {"b", "bool"},
            {"c", "char"},
            {"a", "signed char"},
            {"h", "unsigned char"},
            {"s", "short"},
            {"t", "unsigned short"},
            {"i", "int"},
            {"j", "unsigned int"},
            {"l", "long"},
            {"m", "unsigned long"},
            {"x", "long long"},
            {"y", "unsigned long long"},
            {"f", "float"},
            {"d", "double"},
            {"e", "long double"},
            {"w", "wchar_t"},
        };
        size_t from = _Out.Length();
        char c = *_P;
        if (c == 'P' || c == 'R' || c == 'O' || c == 'K')
        {
            ++_P;
            if (!Type())
                return false;
            _Out << (c == 'P' ? "*" : c == 'R' ? "&" : c == 'O' ? "&&" : " const");
            Remember(from);
            return true;
        }
        if (c == 'S' &&
            (_P[1] == '_' || (_P[1] >= '0' && _P[1] <= '9') || (_P[1] >= 'A' && _P[1] <= 'Z')))
        {
            ++_P;
            size_t index = 0;
            if (*_P != '_')
            {
                while (*_P != '_' && *_P)
                {
                    char d = *_P++;
                    index = index * 36 + static_cast<size_t>(d <= '9' ? d - '0' : d - 'A' + 10);
                }
                ++index;
            }
            if (*_P++ != '_' || index >= _Count)
                return false;
            Piece piece = _Subs[index];
            char copy[256];
            size_t length = std::min(piece._To - piece._From, sizeof copy);
            _Out.Copy(copy, piece._From, length);
            _Out.Append(copy, length);
            return true;
        }
        for (const auto& builtin : kBuiltins)
            if (c == builtin[0][0])
            {
                ++_P;
                _Out << builtin[1];
                return true;
            }
        if (c == 'N' || (c >= '1' && c <= '9') || !std::strncmp(_P, "St", 2))
            return Name(false);
        return false;
    }

    const char* _P;
    Line& _Out;
    Piece _Subs[32];
    size_t _Count = 0;
    bool _ConstMember = false;
};

void WriteStackTrace(int iFd)
{
    void* frames[64];
    int count = ::backtrace(frames, 64);
    const std::vector<LoadedObject>* objects = sObjects;
    int printed = 0;
    for (int i = 1; i < count; ++i) // frame 0 is this function
    {
        // A return address may follow the function's last instruction: the
        // call is looked up one byte before it.
        uintptr_t address = reinterpret_cast<uintptr_t>(frames[i]);
        uintptr_t call = address - 1;
        const LoadedObject* object = nullptr;
        for (size_t o = 0; objects && o < objects->size() && !object; ++o)
            if (call >= (*objects)[o]._Low && call < (*objects)[o]._High)
                object = &(*objects)[o];
        const Symbol* symbol = nullptr;
        if (object)
        {
            auto next = std::upper_bound(object->_Symbols.begin(), object->_Symbols.end(), call,
                                         [](uintptr_t a, const Symbol& s) { return a < s._Start; });
            if (next != object->_Symbols.begin() && call < (next - 1)->_Start + (next - 1)->_Size)
                symbol = &*(next - 1);
        }
        Line line;
        line << "#";
        line.Number(static_cast<uintptr_t>(printed++), 10) << " ";
        size_t nameStart = line.Length();
        if (!symbol)
            line << "??";
        else if (!Demangler(symbol->_Name, line).Run())
        {
            line.Cut(nameStart);
            line << symbol->_Name;
        }
        line << " (" << (object ? object->_Name.c_str() : "?") << "+0x";
        line.Number(object ? address - object->_Base : 0, 16) << ")\n";
        line.Write(iFd);
    }
}

// The end of the process on a trapped signal (or a direct call): the
// prepared report, the stack trace of an abort, _exit.
[[noreturn]] void EndProcess(int iStatus, Kind iKind)
{
    // From here on a second signal, or an abort, ends the process at once.
    struct sigaction fallback;
    std::memset(&fallback, 0, sizeof fallback);
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigset_t trapped;
    sigemptyset(&trapped);
    for (int sig : kTrapped)
    {
        ::sigaction(sig, &fallback, nullptr);
        sigaddset(&trapped, sig);
    }
    ::sigprocmask(SIG_UNBLOCK, &trapped, nullptr);

    // A direct call, outside any handler, may build what it lacks.
    if (iStatus <= 0 || iStatus >= 65 || sPrepared[iStatus] != iKind)
        PrepareReport(iStatus, iKind);
    if (iKind == Abort && !sObjects)
        PrepareStackTrace();
    zbTraceManager::WriteSignalReport(iStatus);
    if (iKind == Abort)
        WriteStackTrace(2);
    ::_exit(iStatus);
}
} // namespace

void zbInternalError(const char* iExpression, const char* iFile, int iLine, int iStatus)
{
    QORUnicodeString line;
    line.BuildFromNum(iLine, "%lld");
    QORUnicodeString message = zbExtContext.GetMsgMngr()->GetMsg(
        "zbzbFatal.InternalLine", QORUnicodeString(iExpression ? iExpression : "Assertion failed"),
        line, QORUnicodeString(iFile ? iFile : "<unknown>"));
    zbExtContext.GetTraceMngr()->Print(MSG_KEY_zbzbFatal, stderr, message);
    if (QORDevelopmentStage(0) == 0)
        std::exit(iStatus);
    zbContextualAbort(iStatus);
}

void zbTrapFatalSignals()
{
    PrepareReport(SIGABRT, Abort);
    PrepareReport(SIGINT, Interrupt);
    PrepareReport(SIGTERM, Interrupt);
    PrepareStackTrace();
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    sigemptyset(&action.sa_mask);
    // SA_RESETHAND: the handler is never entered twice.
    action.sa_flags = SA_RESETHAND;
    action.sa_handler = zbContextualAbort;
    ::sigaction(SIGABRT, &action, nullptr);
    action.sa_handler = zbContextualInterrupt;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

void zbContextualAbort(int iStatus)
{
    EndProcess(iStatus, Abort);
}

void zbContextualInterrupt(int iStatus)
{
    EndProcess(iStatus, Interrupt);
}

void zbDebugTrace(zbOFStream& oStream, const char* iFormat, ...)
{
    FILE* file = oStream.GetFile();
    if (!iFormat || !file)
        return;
    std::fflush(file);
    va_list args;
    va_start(args, iFormat);
    std::vfprintf(file, iFormat, args);
    va_end(args);
    std::fflush(file);
}
