#include "zbFileBuffer.h"

#include <cstdlib>
#include <cstring>

#include "zbCRC32.h"
#include "zbCrypt.h"
#include "zbFileOperations.h"
#include "zbOFStream.h"
#include "zbStrFunctions.h"

zbFileBuffer::zbFileBuffer() : _OpenMode(4), _Buffer(nullptr), _Length(0)
{
}

zbFileBuffer::zbFileBuffer(const zbFileBuffer& iOther)
    : _OpenMode(iOther._OpenMode), _Buffer(nullptr), _Length(0)
{
    DuplicateBuffer(iOther._Buffer, iOther._Length);
}

zbFileBuffer& zbFileBuffer::operator=(const zbFileBuffer& iOther)
{
    if (this != &iOther)
    {
        _OpenMode = iOther._OpenMode;
        DuplicateBuffer(iOther._Buffer, iOther._Length);
    }
    return *this;
}

zbFileBuffer::~zbFileBuffer()
{
    Release();
}

void zbFileBuffer::Release()
{
    std::free(_Buffer);
    _Buffer = nullptr;
    _Length = 0;
}

int zbFileBuffer::ReadFromFile(const char* iPath, const zbIosOpenMode& iMode)
{
    Release();
    _OpenMode = iMode;
    if (!iPath)
        return 0;
    char* buffer = nullptr;
    unsigned int length = 0;
    if (zbMMap(iPath, iMode, buffer, length, 0) != 0)
    {
        std::free(buffer);
        return 1;
    }
    _Buffer = buffer;
    _Length = buffer ? length : 0;
    return 0;
}

int zbFileBuffer::DuplicateBuffer(const char* iData, const unsigned int iLength)
{
    // The data may lie in the current buffer: copy before releasing it.
    char* copy = nullptr;
    if (iData && iLength)
    {
        copy = static_cast<char*>(std::malloc(static_cast<size_t>(iLength) + 1));
        if (copy)
        {
            std::memcpy(copy, iData, iLength);
            copy[iLength] = 0;
        }
    }
    Release();
    _Buffer = copy;
    _Length = copy ? iLength : 0;
    return 0;
}

void zbFileBuffer::CryptBuffer()
{
    zbCrypt(_Buffer, _Length);
}

void zbFileBuffer::DecryptBuffer()
{
    zbDecrypt(_Buffer, _Length);
}

unsigned int zbFileBuffer::ComputeCRC() const
{
    return zbCRC32(_Buffer, _Length);
}

unsigned int zbFileBuffer::ComputeHashKey() const
{
    return _Buffer ? zbXorWordsHash(_Buffer, _Length) : 0;
}

bool zbFileBuffer::operator==(const zbFileBuffer& iOther) const
{
    if (this == &iOther)
        return true;
    if (_Length != iOther._Length)
        return false;
    return _Length == 0 || std::memcmp(_Buffer, iOther._Buffer, _Length) == 0;
}

int zbFileBuffer::Write(zbOFStream& oStream) const
{
    if (!_Buffer || _Length == 0)
        return 0;
    if (oStream.Write(_Buffer, _Length) != 0)
        return -1;
    return static_cast<int>(_Length);
}
