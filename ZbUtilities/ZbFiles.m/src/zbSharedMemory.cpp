#include "zbSharedMemory.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <new>

int zbSharedMemory::_Instance = 0;

zbSharedMemory::zbSharedMemory() : zbSharedMemory(DefaultSize, DefaultIndexRatio)
{
}

zbSharedMemory::zbSharedMemory(unsigned int iSize, unsigned int iIndexRatio)
    : _Size(iSize), _IndexRatio(iIndexRatio), _Memory(NotAttached()), _Id(-1), _Name{},
      _LastErrno(0), _IndexCopy(nullptr)
{
    ++_Instance;
}

zbSharedMemory::~zbSharedMemory()
{
    _ReleaseIndexCopy();
}

void zbSharedMemory::_ReleaseIndexCopy()
{
    delete[] _IndexCopy;
    _IndexCopy = nullptr;
}

void zbSharedMemory::PutzbSharedMemoryLastError(const QORUnicodeString* iContext, int* iErrno)
{
    _LastErrno = iErrno ? *iErrno : errno;
    const char* system = std::strerror(_LastErrno);
    QORUnicodeString text;
    if (system && *system)
        text = system;
    else
        text.BuildFromNum(_LastErrno, "%d");
    if (iContext && !iContext->IsEmpty() && !text.IsEmpty())
        text.Insert(0, *iContext);
    _LastError = text;
}

int zbSharedMemory::_Fail(const char* iText)
{
    _LastError = iText;
    return -1;
}

int zbSharedMemory::_FailSystem(int iErrno)
{
    PutzbSharedMemoryLastError(nullptr, &iErrno);
    return -1;
}

const char* zbSharedMemory::GetIndex()
{
    if (_IndexCopy)
        return _IndexCopy;
    if (_Memory == NotAttached())
    {
        _Fail(InvalidArgument);
        return nullptr;
    }
    const unsigned int indexSize = GetIndexSize();
    const char* end =
        indexSize ? static_cast<const char*>(std::memchr(_Memory, '\0', indexSize)) : nullptr;
    if (!end)
    {
        _Fail(NoIndex);
        return nullptr;
    }
    const size_t length = static_cast<size_t>(end - _Memory);
    _IndexCopy = new (std::nothrow) char[length + 1];
    if (!_IndexCopy)
    {
        _FailSystem(ENOMEM);
        return nullptr;
    }
    // The server may be appending meanwhile: the copy ends where the NUL
    // was seen, whatever is there now.
    std::memcpy(_IndexCopy, _Memory, length);
    _IndexCopy[length] = '\0';
    return _IndexCopy;
}

int zbSharedMemory::Extract(const char* iKey, char** oData, unsigned int* oLength)
{
    if (_Memory == NotAttached() || !iKey || !*iKey || !oData || !oLength)
        return _Fail(InvalidArgument);
    *oLength = 0;
    *oData = nullptr;
    const char* index = GetIndex();
    if (!index)
        return -1;

    const size_t keyLength = std::strlen(iKey);
    // The running offset never passes the end of the segment: every line's
    // block is checked against what is left before it is counted.
    unsigned long long offset = GetIndexSize();
    for (const char* line = index; *line;)
    {
        const char* bar = line;
        while (*bar && *bar != '|' && *bar != '\n')
            ++bar;
        if (*bar != '|')
            return _Fail(MalformedIndex);
        const char* digit = bar + 1;
        if (*digit < '0' || *digit > '9')
            return _Fail(MalformedIndex);
        const unsigned long long left = _Size - offset;
        unsigned long long length = 0;
        bool past = false;
        for (; *digit >= '0' && *digit <= '9'; ++digit)
            if (!past && (length = length * 10 + static_cast<unsigned>(*digit - '0')) > left)
                past = true;
        if (*digit != '\n')
            return _Fail(MalformedIndex);
        if (past)
            return _Fail(OutOfDataArea);
        if (static_cast<size_t>(bar - line) == keyLength && !std::memcmp(line, iKey, keyLength))
        {
            if (!length)
                return 0;
            char* data = new (std::nothrow) char[length];
            if (!data)
                return _FailSystem(ENOMEM);
            std::memcpy(data, _Memory + offset, length);
            *oData = data;
            *oLength = static_cast<unsigned int>(length);
            return 0;
        }
        offset += length;
        line = digit + 1;
    }
    return _Fail(NoData);
}
