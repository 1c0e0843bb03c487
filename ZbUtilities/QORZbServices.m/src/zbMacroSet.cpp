#include "zbMacroSet.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "QORFatalError.h"
#include "zbContext.h"
#include "zbErrorCodeManager.h"
#include "zbFileOperations.h"
#include "zbHashDicoSPrintStats.h"
#include "zbOFStream.h"
#include "zbReport.h"
#include "zbSetOfPathFinder.h"
#include "zbStrFunctions.h"

// The files being read, outermost first, by device and inode: an include
// line naming one of them again is a cycle.
struct zbIncludeChain
{
    struct Identity
    {
        dev_t _Device;
        ino_t _Inode;
    };
    std::vector<Identity> _Files;

    bool Contains(const Identity& iFile) const
    {
        for (const Identity& f : _Files)
            if (f._Device == iFile._Device && f._Inode == iFile._Inode)
                return true;
        return false;
    }
};

static inline bool zbIsBlank(char iChar)
{
    return iChar == ' ' || iChar == '\t';
}

zbMacroSet::zbMacroSet(const unsigned int iBuckets)
    : QORHashDicSzbMacroValue(static_cast<int>(iBuckets))
{
}

zbMacroSet::~zbMacroSet()
{
    ApplyDelete();
    while (TextBlock* block = _Blocks)
    {
        _Blocks = block->_Next;
        std::free(block);
    }
    while (ReadBlock* block = _ReadBlocks)
    {
        _ReadBlocks = block->_Next;
        ::munmap(block, block->_Size);
    }
}

void zbMacroSet::ApplyDelete()
{
    for (zbMacroValue* value : Values())
        _DeleteMacro(value);
    RemoveAll();
}

void zbMacroSet::_NewBlock(size_t iSize) const
{
    const size_t first = 16384, largest = size_t(1) << 23;
    size_t size = _Blocks ? std::min(_Blocks->_Size * 2, largest) : first;
    size = std::max(size, iSize);
    TextBlock* block = static_cast<TextBlock*>(std::malloc(sizeof(TextBlock) + size));
    if (!block)
        QORFatalError("out of memory for the texts of macros",
                      "ZbUtilities/QORZbServices.m/src/zbMacroSet", __LINE__);
    block->_Next = _Blocks;
    block->_Size = size;
    _Blocks = block;
    _Free = block->Bytes();
    _Top = _Free + size;
    _Left = size;
    _TopLength = 0;
}

char* zbMacroSet::_KeepInNewBlock(size_t iSize, size_t iAlign) const
{
    _NewBlock(iSize + iAlign);
    return _Keep(iSize, iAlign);
}

// The texts as read come in blocks of 256 KB mapped on their own: each one
// goes back to the system as soon as its macros are done with it.
const char* zbMacroSet::_KeepRead(const char* iText, size_t iLength)
{
    if (iLength + 1 > _ReadLeft)
    {
        const size_t page = 4096;
        const size_t size =
            std::max(size_t(1) << 18, (sizeof(ReadBlock) + iLength + 1 + page - 1) & ~(page - 1));
        void* mapped =
            ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED)
            QORFatalError("out of memory for the texts of macros",
                          "ZbUtilities/QORZbServices.m/src/zbMacroSet", __LINE__);
        ReadBlock* block = static_cast<ReadBlock*>(mapped);
        ReadBlock* previous = _ReadBlocks;
        block->_Next = previous;
        block->_Size = size;
        block->_Views = 0;
        _ReadBlocks = block;
        _ReadFree = block->Bytes();
        _ReadLeft = size - sizeof(ReadBlock);
        if (previous && !previous->_Views)
            _FreeReadBlock(previous);
    }
    char* text = _ReadFree;
    std::memcpy(text, iText, iLength);
    text[iLength] = 0;
    _ReadFree += iLength + 1;
    _ReadLeft -= iLength + 1;
    ++_ReadBlocks->_Views;
    return text;
}

zbMacroSet::ReadBlock* zbMacroSet::_ReadBlockOf(const char* iText) const
{
    if (!iText)
        return nullptr;
    if (_ReadHit && _ReadHit->Holds(iText))
        return _ReadHit;
    for (ReadBlock* block = _ReadBlocks; block; block = block->_Next)
        if (block->Holds(iText))
            return _ReadHit = block;
    return nullptr;
}

void zbMacroSet::_DropView(const char* iText) const
{
    ReadBlock* block = _ReadBlockOf(iText);
    if (block && !--block->_Views && block != _ReadBlocks)
        _FreeReadBlock(block);
}

void zbMacroSet::_FreeReadBlock(ReadBlock* iBlock) const
{
    for (ReadBlock** link = &_ReadBlocks; *link; link = &(*link)->_Next)
        if (*link == iBlock)
        {
            *link = iBlock->_Next;
            break;
        }
    if (_ReadHit == iBlock)
        _ReadHit = nullptr;
    ::munmap(iBlock, iBlock->_Size);
}

void zbMacroSet::_Settle(zbMacroValue& ioMacro) const
{
    if (ioMacro.OwnPtr() || !_ReadBlockOf(ioMacro.ViewPtr()))
        return;
    const char* read = ioMacro.ViewPtr();
    ioMacro.SetViewPtr(_KeepText(read, ioMacro._Length));
    _DropView(read);
}

const char* zbMacroSet::_KeepText(const char* iText, size_t iLength) const
{
    // A text ending with the text kept last shares its bytes, null character
    // included: only what comes before them is kept, just below them.  So a
    // chain of definitions each ending with a reference to the one resolved
    // before it (X2 = b $(X1), X3 = c $(X2)) costs its own words only.
    // Kept texts are never written again.
    if (_TopLength && iLength >= _TopLength && iLength - _TopLength <= _Left &&
        std::memcmp(iText + iLength - _TopLength, _Top, _TopLength) == 0)
    {
        const size_t prefix = iLength - _TopLength;
        _Top -= prefix;
        _Left -= prefix;
        std::memcpy(_Top, iText, prefix);
        _TopLength = iLength;
        return _Top;
    }
    if (iLength + 1 > _Left)
        _NewBlock(iLength + 1);
    _Top -= iLength + 1;
    _Left -= iLength + 1;
    std::memcpy(_Top, iText, iLength);
    _Top[iLength] = 0;
    _TopLength = iLength;
    return _Top;
}

zbMacroValue* zbMacroSet::_NewMacro()
{
    return new (_Keep(sizeof(zbMacroValue), alignof(zbMacroValue))) zbMacroValue;
}

void zbMacroSet::_DeleteMacro(zbMacroValue* ioMacro)
{
    if (!ioMacro->OwnPtr())
        _DropView(ioMacro->ViewPtr());
    if (!_HoldsText(ioMacro))
        delete ioMacro;
    else if (reinterpret_cast<char*>(ioMacro + 1) == _Free)
    {
        // The newest one: its place is taken back.
        ioMacro->~zbMacroValue();
        _Left += static_cast<size_t>(_Free - reinterpret_cast<char*>(ioMacro));
        _Free = reinterpret_cast<char*>(ioMacro);
    }
    else
        ioMacro->~zbMacroValue();
}

bool zbMacroSet::_HoldsText(const void* iData) const
{
    const char* data = static_cast<const char*>(iData);
    if (!data)
        return false;
    for (TextBlock* block = _Blocks; block; block = block->_Next)
        if (data >= block->Bytes() && data < block->Bytes() + block->_Size)
            return true;
    return _ReadBlockOf(data) != nullptr;
}

const QORString* zbMacroSet::GetValue(const QORString& iName) const
{
    const zbMacroValue* macro = GetMacro(iName);
    return macro ? &macro->GetValue() : nullptr;
}

QORListValQORString* zbMacroSet::GetListOfValues(const QORString& iName) const
{
    zbMacroValue* macro = GetMacro(iName);
    return macro ? macro->GetListOfValues() : nullptr;
}

QORListValQORString* zbMacroSet::GetListOfValues(const QORString& iName,
                                                 QORListValQORString& ioList) const
{
    const zbMacroValue* macro = GetMacro(iName);
    return macro ? &macro->GetListOfValues(ioList) : nullptr;
}

zbMacroValue* zbMacroSet::Next(const QORString*& ioCursor, QORString& oName) const
{
    int bucket = 1, position = 0;
    if (ioCursor)
    {
        // After an absent name, continue with the buckets after its own.
        if (!LocatePosition(*ioCursor, bucket, position))
            ++bucket, position = 0;
    }
    zbMacroValue* value = QORHashDicSzbMacroValue::Next(bucket, position, &oName);
    ioCursor = value ? &oName : nullptr;
    return value;
}

// ---------------------------------------------------------------------------
// Insertion.

// The two forms of Insert: an existing macro takes the value only under
// ReplaceExisting; a new name gets a new macro.
template <class Value>
static zbMacroValue* zbInsertMacro(zbMacroSet& ioSet, const QORString& iName, const Value& iValue,
                                   const zbMacroSet::InsertMode& iMode)
{
    if (zbMacroValue* existing = ioSet.Locate(iName))
    {
        if (iMode == zbMacroSet::ReplaceExisting)
            *existing = iValue;
        return existing;
    }
    zbMacroValue* macro = new zbMacroValue(iValue);
    ioSet.QORHashDicSzbMacroValue::Insert(iName, macro);
    return macro;
}

zbMacroValue* zbMacroSet::Insert(const QORString& iName, const char* iValue,
                                 const InsertMode& iMode)
{
    return zbInsertMacro(*this, iName, iValue, iMode);
}

// The first word of [ioBegin, ioEnd): leading blanks skipped, ioEnd moved
// back to the first blank after it.
static const char* zbFirstWord(const char* iBegin, const char*& ioEnd)
{
    while (iBegin < ioEnd && zbIsBlank(*iBegin))
        ++iBegin;
    const char* end = iBegin;
    while (end < ioEnd && !zbIsBlank(*end))
        ++end;
    ioEnd = end;
    return iBegin;
}

zbMacroValue* zbMacroSet::_InsertText(const char* iName, const char* iNameEnd, const char* iText,
                                      unsigned int iLength, const InsertMode& iMode)
{
    const char* name = zbFirstWord(iName, iNameEnd);
    const size_t length = static_cast<size_t>(iNameEnd - name);
    return _InsertNamed(name, length, QORHashBytes(name, length), iText, iLength, iMode);
}

zbMacroValue* zbMacroSet::_InsertNamed(const char* iName, size_t iLength, unsigned int iHash,
                                       const char* iText, unsigned int iTextLength,
                                       const InsertMode& iMode)
{
    // A new name (the usual case) costs one lookup.
    zbMacroValue* macro = _NewMacro();
    if (!InsertBytes(iName, iLength, iHash, macro))
    {
        _DeleteMacro(macro);
        macro = static_cast<zbMacroValue*>(LocateBytes(iName, iLength, iHash));
        if (iMode != ReplaceExisting)
            return macro;
        macro->DropList();
    }
    // The text normalised (as zbMacroValue::_Init does), kept by the set.
    const char* begin = iText;
    const char* textEnd = iText ? iText + iTextLength : nullptr;
    const bool text = iText && iTextLength && zbMacroValue::Normalise(begin, textEnd);
    const size_t size = text ? static_cast<size_t>(textEnd - begin) : 0;
    if (macro->OwnPtr())
        macro->SetView(nullptr, 0);
    else
        _DropView(macro->ViewPtr()); // the text of the definition replaced
    // A text that can hold no reference is kept where it stays; one that
    // may hold one is kept apart until it is resolved.
    if (!text)
        macro->SetViewPtr(nullptr);
    else if (size >= 4 && std::memchr(begin, '$', size))
        macro->SetViewPtr(_KeepRead(begin, size));
    else
        macro->SetViewPtr(_KeepText(begin, size));
    macro->_Length = static_cast<unsigned int>(size);
    macro->_Solved = text ? 0 : 1;
    return macro;
}

zbMacroValue* zbMacroSet::Insert(const QORString& iName, const zbMacroValue& iValue,
                                 const InsertMode& iMode)
{
    return zbInsertMacro(*this, iName, iValue, iMode);
}

zbMacroValue* zbMacroSet::_InsertOrReplace(const QORString& iName, const char* iValue,
                                           const InsertMode& iMode)
{
    return Insert(iName, iValue, iMode);
}

zbMacroValue* zbMacroSet::_InsertOrReplace(const QORString& iName, const zbMacroValue& iValue,
                                           const InsertMode& iMode)
{
    return Insert(iName, iValue, iMode);
}

zbMacroValue* zbMacroSet::_Insert(char* ioName, char* iValue, const InsertMode& iMode)
{
    return _InsertText(ioName, ioName + std::strlen(ioName), iValue,
                       iValue ? static_cast<unsigned int>(std::strlen(iValue)) : 0, iMode);
}

zbMacroValue* zbMacroSet::Insert(char* ioText, const char iSeparator, const InsertMode& iMode)
{
    char* separator = ioText && iSeparator ? std::strchr(ioText, iSeparator) : nullptr;
    if (!separator)
        return nullptr;
    *separator = 0;
    return _Insert(ioText, separator + 1, iMode);
}

int zbMacroSet::InsertMacroSet(const zbMacroSet& iOther, const InsertMode& iMode)
{
    if (&iOther == this)
        return 0;
    for (const auto& entry : iOther)
    {
        if (zbMacroValue* existing = Locate(entry._Key))
        {
            if (iMode == ReplaceExisting)
            {
                const char* text = entry._Value->GetText();
                *existing = text ? QORString(text, entry._Value->Length()) : QORString();
            }
        }
        else
            QORHashDicSzbMacroValue::Insert(entry._Key, new zbMacroValue(*entry._Value));
    }
    return 0;
}

int zbMacroSet::Remove(const QORString& iName)
{
    zbMacroValue* value = QORHashDicSzbMacroValue::Remove(iName);
    if (!value)
        return 0;
    _DeleteMacro(value);
    return 1;
}

// ---------------------------------------------------------------------------
// Reading description files.

// The number of characters from iText (iText[-1] being text) that
// normalisation copies as they stand, counted 16 at a time: none of them is
// a quote, '#', '\\', a carriage return, a tab or the null character, and
// neither a blank nor an end of line follows one of its own kind.  Stops
// short of the last 16 characters before iEnd, and at the first character
// that may have a rule of its own (the caller looks at it).
static size_t zbPlainRun(const char* iText, const char* iEnd)
{
#if defined(__SSE2__)
    const char* p = iText;
    while (iEnd - p >= 16)
    {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        // The 16 characters before, shifted by one: each one's predecessor.
        const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p - 1));
        __m128i stop = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('"')),
                                    _mm_cmpeq_epi8(v, _mm_set1_epi8('\'')));
        stop = _mm_or_si128(stop, _mm_cmpeq_epi8(v, _mm_set1_epi8('`')));
        stop = _mm_or_si128(stop, _mm_cmpeq_epi8(v, _mm_set1_epi8('#')));
        stop = _mm_or_si128(stop, _mm_cmpeq_epi8(v, _mm_set1_epi8('\\')));
        stop = _mm_or_si128(stop, _mm_cmpeq_epi8(v, _mm_set1_epi8('\r')));
        stop = _mm_or_si128(stop, _mm_cmpeq_epi8(v, _mm_set1_epi8('\t')));
        stop = _mm_or_si128(stop, _mm_cmpeq_epi8(v, _mm_setzero_si128()));
        const __m128i same = _mm_cmpeq_epi8(v, before);
        const __m128i blankOrEnd = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(' ')),
                                                _mm_cmpeq_epi8(v, _mm_set1_epi8('\n')));
        stop = _mm_or_si128(stop, _mm_and_si128(same, blankOrEnd));
        const unsigned int mask = static_cast<unsigned int>(_mm_movemask_epi8(stop));
        if (mask)
            return static_cast<size_t>(p - iText) + static_cast<size_t>(__builtin_ctz(mask));
        p += 16;
    }
    return static_cast<size_t>(p - iText);
#else
    (void)iEnd;
    (void)iText;
    return 0;
#endif
}

// The end of the line at iText: its newline, or iEnd (the text's null
// character, the only one from iText on).
static const char* zbLineEnd(const char* iText, const char* iEnd)
{
    const char* eol =
        static_cast<const char*>(std::memchr(iText, '\n', static_cast<size_t>(iEnd - iText)));
    return eol ? eol : iEnd;
}

// Characters with a rule of their own in a description file; every other
// one is copied as it stands.
static constexpr struct zbSpecialTable
{
    bool _Is[256];
    constexpr zbSpecialTable() : _Is()
    {
        for (unsigned char c : {'\0', '"', '\'', '`', '#', '\\', '\r', '\t', ' ', '\n'})
            _Is[c] = true;
    }
} zbSpecials;

// Copies the text from ioSrc on (a character copied as it stands) as far as
// normalisation leaves it as it is; returns the new end of the output,
// ioSrc moved to the first character it looks at.
static inline __attribute__((always_inline)) char* zbCopyPlain(const char*& ioSrc, char* ioDst,
                                                               const char* iEnd)
{
    const char* src = ioSrc;
    char* dst = ioDst;
    // A single blank after other text is copied as it stands too, and so
    // is the end of a line after other text.
    *dst++ = *src++;
    for (;;)
    {
        const size_t plain = zbPlainRun(src, iEnd);
        if (plain)
        {
            if (dst != src)
                std::memmove(dst, src, plain);
            dst += plain;
            src += plain;
        }
        if (!zbSpecials._Is[static_cast<unsigned char>(*src)] ||
            ((*src == ' ' || *src == '\n') && src[-1] != *src))
            *dst++ = *src++;
        else
            break;
    }
    ioSrc = src;
    return dst;
}

// Copies the quoted text at ioSrc (its opening quote) up to its closing
// quote included; false, once reported, when the quote does not close.
static inline bool zbCopyQuoted(const char* iFileName, const char*& ioSrc, char*& ioDst)
{
    const char* closing = std::strchr(ioSrc + 1, *ioSrc);
    if (!closing)
    {
        const char* eol = std::strchr(ioSrc, '\n');
        size_t length = eol ? static_cast<size_t>(eol - ioSrc) : std::strlen(ioSrc);
        const char quote[2] = {*ioSrc, 0};
        zbReportMessage("imbalance_r", {QORUnicodeString(iFileName ? iFileName : ""),
                                        QORUnicodeString(ioSrc, length), QORUnicodeString(quote)});
        return false;
    }
    size_t length = static_cast<size_t>(closing - ioSrc) + 1;
    std::memmove(ioDst, ioSrc, length);
    ioDst += length;
    ioSrc += length;
    return true;
}

// Where the text goes on when the backslash at iSrc joins the next line
// (blanks and a comment may come between it and the end of its line);
// null when it is a character as any other.
static inline const char* zbJoinedLine(const char* iSrc, const char* iEnd)
{
    const char* p = iSrc + 1;
    while (zbIsBlank(*p) || *p == '\r')
        ++p;
    if (*p == '#')
    {
        p = zbLineEnd(p, iEnd);
        return *p ? p + 1 : p;
    }
    return *p == '\n' ? p + 1 : nullptr;
}

char* zbMacroSet::ParseBuffer(const char* iFileName, char* ioBuffer)
{
    if (!ioBuffer)
        return nullptr;
    const char* src = ioBuffer;
    char* dst = ioBuffer;
    while (*src == '\n' || *src == '\r' || zbIsBlank(*src))
        ++src;
    const char* const end = src + std::strlen(src);
    char last = '\n';
    while (char c = *src)
    {
        if (!zbSpecials._Is[static_cast<unsigned char>(c)])
        {
            dst = zbCopyPlain(src, dst, end);
            last = src[-1];
            continue;
        }
        if (c == '"' || c == '\'' || c == '`')
        {
            if (!zbCopyQuoted(iFileName, src, dst))
                return nullptr;
            last = c;
            continue;
        }
        if (c == '#')
        {
            src = zbLineEnd(src, end);
            continue;
        }
        if (c == '\\')
        {
            if (const char* joined = zbJoinedLine(src, end))
                src = joined;
            else
                *dst++ = c, last = c, ++src;
            continue;
        }
        ++src;
        if (c == '\r')
            continue;
        if (c == '\t')
            c = ' ';
        if ((c == ' ' && last == ' ') || (c == '\n' && last == '\n'))
            continue;
        *dst++ = c;
        last = c;
    }
    while (dst > ioBuffer && (dst[-1] == ' ' || dst[-1] == '\n'))
        --dst;
    *dst = 0;
    return ioBuffer;
}

int zbMacroSet::InsertBuffer(char* ioBuffer, zbSetOfPathFinder* iFinders, const char iSeparator,
                             const InsertMode& iMode)
{
    zbIncludeChain chain;
    return _InsertBuffer(ioBuffer, iFinders, iSeparator, iMode, chain, nullptr);
}

// Gives the whole pages between iBegin and iEnd back to the system: a
// large buffer read whole does not stay in memory next to what was made
// of it.  The bytes read as zeros from then on.
static void zbReleasePages(const char* iBegin, const char* iEnd)
{
    static const uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const uintptr_t begin = (reinterpret_cast<uintptr_t>(iBegin) + page - 1) & ~(page - 1);
    const uintptr_t end = reinterpret_cast<uintptr_t>(iEnd) & ~(page - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED);
}

// An include line's name (blanks around it taken away) joins ioIncludes;
// iName follows the "include ".
static void zbAddInclude(char* iName, std::vector<std::string>& ioIncludes)
{
    while (zbIsBlank(*iName))
        ++iName;
    char* end = iName + std::strlen(iName);
    while (end > iName && zbIsBlank(end[-1]))
        *--end = 0;
    if (*iName)
        ioIncludes.emplace_back(iName);
}

void zbMacroSet::_InsertLines(char* ioBuffer, const char iSeparator, const InsertMode& iMode,
                              bool iOwned, std::vector<std::string>& oIncludes)
{
    // What was inserted goes back to the system 256 KB at a time.
    const size_t releaseStep = size_t(1) << 18;
    char* released = ioBuffer;
    // Each macro is inserted a few lines after its line is read: the index
    // slot of its name is loaded meanwhile.  The order of the inserts is the
    // file's.
    struct Pending
    {
        const char* _Name;
        size_t _Length;
        unsigned int _Hash;
        const char* _Text;
        unsigned int _TextLength;
    };
    constexpr size_t Ahead = 8;
    Pending pending[Ahead];
    size_t read = 0, inserted = 0;
    const auto insertNext = [&]()
    {
        const Pending& next = pending[inserted++ % Ahead];
        _InsertNamed(next._Name, next._Length, next._Hash, next._Text, next._TextLength, iMode);
    };
    for (char* line = ioBuffer; line;)
    {
        char* eol = strchrnul(line, '\n');
        char* separator =
            static_cast<char*>(std::memchr(line, iSeparator, static_cast<size_t>(eol - line)));
        const bool last = !*eol;
        *eol = 0;
        if (iOwned && static_cast<size_t>(line - released) >= releaseStep)
        {
            while (inserted < read)
                insertNext();
            zbReleasePages(released, line);
            released = line;
        }
        if (separator)
        {
            const char* nameEnd = separator;
            const char* name = zbFirstWord(line, nameEnd);
            const size_t length = static_cast<size_t>(nameEnd - name);
            const unsigned int hash = QORHashBytes(name, length);
            PrefetchSlot(hash);
            if (read - inserted == Ahead)
                insertNext();
            pending[read++ % Ahead] = {name, length, hash, separator + 1,
                                       static_cast<unsigned int>(eol - separator - 1)};
        }
        else if (!std::strncmp(line, "include ", 8) && line[8])
            zbAddInclude(line + 8, oIncludes);
        line = last ? nullptr : eol + 1;
    }
    while (inserted < read)
        insertNext();
}

int zbMacroSet::_InsertInclude(const char* iName, zbSetOfPathFinder* iFinders,
                               const char iSeparator, const InsertMode& iMode,
                               zbIncludeChain& ioChain)
{
    zbFileName file;
    if (!iFinders->SearchFor(iName, file))
    {
        zbReportSystemError(iName, ENOENT);
        return 1;
    }
    const char* path = file.GetPtrToFullname();
    struct stat64 st;
    const bool known = stat64(path, &st) == 0;
    const zbIncludeChain::Identity identity = {known ? st.st_dev : 0, known ? st.st_ino : 0};
    if (known && ioChain.Contains(identity))
    {
        zbReportMessage("zbMacroSet.IncludeCycle", {QORUnicodeString(path)});
        return 1;
    }
    if (ioChain._Files.size() >= static_cast<size_t>(MaxIncludeDepth))
    {
        zbReportMessage(
            "zbMacroSet.IncludeTooDeep",
            {QORUnicodeString(path), QORUnicodeString(std::to_string(MaxIncludeDepth).c_str())});
        return 1;
    }
    ioChain._Files.push_back(identity);
    const int failures = _InsertLoaded(path, iFinders, iSeparator, iMode, ioChain);
    ioChain._Files.pop_back();
    return failures;
}

int zbMacroSet::_InsertBuffer(char* ioBuffer, zbSetOfPathFinder* iFinders, const char iSeparator,
                              const InsertMode& iMode, zbIncludeChain& ioChain,
                              const char* iOwnedEnd)
{
    if (!ioBuffer)
        return 0;
    char* const bufferEnd = ioBuffer + std::strlen(ioBuffer);
    // What normalising took away from the end of an own buffer is given
    // back at once.
    if (iOwnedEnd)
        zbReleasePages(bufferEnd + 1, iOwnedEnd);
    // A line defines at most one macro, and only with a separator: the
    // index is made large enough at once rather than grown step by step.
    size_t lines = 1, separators = 0;
    zbCountTwoBytes(ioBuffer, bufferEnd, '\n', iSeparator, lines, separators);
    Reserve(std::min(lines, separators), 0);
    std::vector<std::string> includes;
    _InsertLines(ioBuffer, iSeparator, iMode, iOwnedEnd != nullptr, includes);
    if (!iFinders)
        return 0;
    int failures = 0;
    for (const std::string& include : includes)
        failures += _InsertInclude(include.c_str(), iFinders, iSeparator, iMode, ioChain);
    return failures;
}

int zbMacroSet::_InsertLoaded(const char* iPath, zbSetOfPathFinder* iFinders, const char iSeparator,
                              const InsertMode& iMode, zbIncludeChain& ioChain)
{
    char* buffer = nullptr;
    unsigned int size = 0;
    if (zbMMap(iPath, 8, buffer, size, '\n'))
    {
        zbReportLastError(iPath);
        return 1;
    }
    // An empty file defines nothing, as one of comments only: an empty set.
    if (!buffer)
        return 0;
    int failures = 1;
    if (ParseBuffer(iPath, buffer))
        failures = _InsertBuffer(buffer, iFinders, iSeparator, iMode, ioChain, buffer + size);
    std::free(buffer);
    return failures;
}

int zbMacroSet::InsertFile(const char* iFileName, zbSetOfPathFinder* iFinders,
                           const char iSeparator, const InsertMode& iMode)
{
    zbIncludeChain chain;
    struct stat64 st;
    if (stat64(iFileName, &st) == 0)
        chain._Files.push_back(zbIncludeChain::Identity{st.st_dev, st.st_ino});
    return _InsertLoaded(iFileName, iFinders, iSeparator, iMode, chain);
}

// ---------------------------------------------------------------------------
// Resolution, comparison, output.

int zbMacroSet::Solve(const zbMacroSet* iOther)
{
    return zbMacroValue::_SolveAll(*this, iOther);
}

const QORString* zbMacroSet::Solve(const QORString& iName, const zbMacroSet* iOther)
{
    zbMacroValue* macro = GetMacro(iName);
    return macro ? &macro->Solve(*this, iOther) : nullptr;
}

void zbMacroSet::DosifyPath()
{
    for (zbMacroValue* value : Values())
        value->DosifyPath();
}

bool zbMacroSet::operator==(const zbMacroSet& iOther) const
{
    if (this == &iOther)
        return true;
    if (GetNbItems() != iOther.GetNbItems())
        return false;
    for (const auto& entry : *this)
    {
        const zbMacroValue* other = iOther.GetMacro(entry._Key);
        if (!other || *other != *entry._Value)
            return false;
    }
    return true;
}

// Writes iLength bytes in writes of at most 1 GB; 0, or 1 when a write
// failed.
static int zbWriteBytes(zbOFStream& oStream, const char* iBytes, size_t iLength)
{
    const size_t chunk = 1u << 30;
    for (size_t done = 0; done < iLength; done += chunk)
    {
        size_t count = std::min(chunk, iLength - done);
        if (oStream.Write(iBytes + done, static_cast<unsigned int>(count)))
        {
            zbExtLastError.SetErrno(oStream.GetErrno());
            return 1;
        }
    }
    return 0;
}

int zbMacroSet::Print(zbOFStream& oStream) const
{
    if (IsEmpty())
        return 0;
    // The text is built and written in pieces of 64 KB: few writes, and no
    // copy of the whole set in memory.  A line longer than a piece is
    // written as it stands.
    const size_t piece = 1u << 16;
    std::unique_ptr<char[]> buffer(new char[piece]);
    char* const begin = buffer.get();
    char* out = begin;
    int failed = 0;
    ForEachBytes(
        [&](const char* iKey, size_t iKeyLength, void* iValue, void* iAhead)
        {
            if (iAhead)
                __builtin_prefetch(static_cast<const zbMacroValue*>(iAhead)->GetText());
            if (failed)
                return;
            const zbMacroValue* macro = static_cast<const zbMacroValue*>(iValue);
            const size_t length = macro->Length();
            const size_t line = iKeyLength + length + 4;
            if (line > static_cast<size_t>(begin + piece - out))
            {
                failed = zbWriteBytes(oStream, begin, static_cast<size_t>(out - begin));
                out = begin;
                if (!failed && line > piece)
                {
                    failed = zbWriteBytes(oStream, iKey, iKeyLength) ||
                             zbWriteBytes(oStream, "='", 2) ||
                             zbWriteBytes(oStream, macro->GetText(), length) ||
                             zbWriteBytes(oStream, "'\n", 2);
                    return;
                }
            }
            std::memcpy(out, iKey, iKeyLength);
            out += iKeyLength;
            *out++ = '=';
            *out++ = '\'';
            if (length)
                std::memcpy(out, macro->GetText(), length);
            out += length;
            *out++ = '\'';
            *out++ = '\n';
        });
    return failed ? 1 : zbWriteBytes(oStream, begin, static_cast<size_t>(out - begin));
}

void zbMacroSet::Dump(zbOFStream& oStream) const
{
    if (IsEmpty())
        return;
    oStream.Print("#\n# Set of macros\n");
    for (const auto& entry : *this)
        oStream.Print("#  - '%s' = [%s]\n", entry._Key.CastToCharPtr(),
                      entry._Value->GetText() ? entry._Value->GetText() : "");
    oStream.Print("\n");
}

void zbMacroSet::PrintStats(zbOFStream& oStream) const
{
    oStream << "\n## zbMacroSet: Statistics of values dictionary:\n";
    zbHashDicoSPrintStats(*this, oStream);
}
