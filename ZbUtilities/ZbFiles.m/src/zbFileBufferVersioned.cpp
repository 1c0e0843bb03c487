#include "zbFileBufferVersioned.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <cstdint>
#include <memory>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "zbCRC32.h"
#include "zbContext.h"
#include "zbCrypt.h"
#include "zbDescriptor.h"
#include "zbErrorCodeManager.h"
#include "zbMsgManager.h"
#include "zbOFStream.h"

static_assert(sizeof(unsigned int) == 4 && sizeof(unsigned long long) == 8,
              "the block header is made of 32-bit and 64-bit fields");

namespace
{
// Offsets of the header fields in the block.
enum
{
    kCRC = 0,
    kControlVersion = 8,
    kControlLength = 16,
    kUserLength = 24,
    kCryptLevel = 32,
    kVersion = 36,
    kReserved3 = 48,
    kScrambledHeader = 36,
    kScrambledHeaderLength = 20
};

void PutLE32(char* oBytes, unsigned int iValue)
{
    for (int i = 0; i < 4; ++i)
        oBytes[i] = static_cast<char>((iValue >> (8 * i)) & 0xFF);
}

void PutLE64(char* oBytes, unsigned long long iValue)
{
    for (int i = 0; i < 8; ++i)
        oBytes[i] = static_cast<char>((iValue >> (8 * i)) & 0xFF);
}

unsigned int GetLE32(const char* iBytes)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(iBytes);
    return static_cast<unsigned int>(p[0]) | (static_cast<unsigned int>(p[1]) << 8) |
           (static_cast<unsigned int>(p[2]) << 16) | (static_cast<unsigned int>(p[3]) << 24);
}

unsigned long long GetLE64(const char* iBytes)
{
    return static_cast<unsigned long long>(GetLE32(iBytes)) |
           (static_cast<unsigned long long>(GetLE32(iBytes + 4)) << 32);
}

// Bytes allocated for a block of iLength bytes: the next multiple of 4
// strictly above it, leaving room for the NUL.
unsigned int AllocationFor(unsigned int iLength)
{
    return ((iLength >> 2) + 1) * 4;
}
} // namespace

zbFileBufferVersioned::zbFileBufferVersioned()
    : _Block(static_cast<char*>(std::calloc(60, 1))), _BlockAllocated(60), _UserData(nullptr),
      _BlockLength(HeaderLength), _Header()
{
    Reset();
}

zbFileBufferVersioned::~zbFileBufferVersioned()
{
    std::free(_Block);
}

void zbFileBufferVersioned::Reset()
{
    // Only the header and the terminator are visible: the rest of the
    // allocation is never read before being written.
    std::memset(_Block, 0, HeaderLength + 1);
    _UserData = _Block + HeaderLength;
    _BlockLength = HeaderLength;
    _Header = Header();
    _Header._ControlVersion = 1;
    _Header._ControlLength = HeaderLength;
}

void zbFileBufferVersioned::StoreHeader()
{
    PutLE32(_Block + kCRC, _Header._ControlCRC);
    std::memcpy(_Block + 4, &_Header._Reserved1, 4);
    PutLE32(_Block + kControlVersion, _Header._ControlVersion);
    std::memcpy(_Block + 12, &_Header._Reserved2, 4);
    PutLE64(_Block + kControlLength, _Header._ControlLength);
    PutLE64(_Block + kUserLength, _Header._UserLength);
    PutLE32(_Block + kCryptLevel, _Header._CryptLevel);
    for (int i = 0; i < 3; ++i)
        PutLE32(_Block + kVersion + 4 * i, _Header._Version[i]);
    std::memcpy(_Block + kReserved3, &_Header._Reserved3, 8);
}

int zbFileBufferVersioned::Reserve(unsigned int iLength)
{
    unsigned int needed = AllocationFor(iLength);
    if (needed <= _BlockAllocated)
        return 0;
    char* block = static_cast<char*>(std::malloc(needed));
    if (!block)
        return 1;
#ifdef MADV_POPULATE_WRITE
    // A large block is about to be filled whole: its pages are had at once
    // rather than one fault at a time (nothing happens where not supported).
    if (needed >= (1u << 24))
    {
        const uintptr_t page = 4096;
        const uintptr_t first = (reinterpret_cast<uintptr_t>(block) + page - 1) & ~(page - 1);
        const uintptr_t last = (reinterpret_cast<uintptr_t>(block) + needed) & ~(page - 1);
        if (last > first)
            ::madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
    }
#endif
    std::free(_Block);
    _Block = block;
    _BlockAllocated = needed;
    _UserData = _Block + HeaderLength;
    return 0;
}

void zbFileBufferVersioned::SetError(const char* iKey, const char* iPath, int iSystem)
{
    zbMsgManager* messages = zbExtContext.GetMsgMngr();
    QORUnicodeString path(iPath ? iPath : "");
    if (iSystem)
        _LastErrorMessage = messages->GetMsg(iKey, path, zbExtLastError.GetMsgError());
    else
        _LastErrorMessage = messages->GetMsg(iKey, path);
}

int zbFileBufferVersioned::SystemFailure(int iErrno, const char* iPath)
{
    zbExtLastError.SetErrno(iErrno);
    SetError("filebuf.systError", iPath, 1);
    Reset();
    return 1;
}

char* zbFileBufferVersioned::SetBuffer(const char* iData, const unsigned int iLength)
{
    _LastErrorMessage.Reset();
    unsigned int length = iData ? iLength : 0;
    if (length > MaxBlockLength - HeaderLength)
    {
        Reset();
        SetError("filebuf.badSize", "", 0);
        return nullptr;
    }
    unsigned int blockLength = HeaderLength + length;
    if (AllocationFor(blockLength) > _BlockAllocated)
    {
        char* block = static_cast<char*>(std::malloc(AllocationFor(blockLength)));
        if (!block)
        {
            Reset();
            SystemFailure(ENOMEM, "");
            return nullptr;
        }
        std::memcpy(block + HeaderLength, iData, length);
        std::free(_Block);
        _Block = block;
        _BlockAllocated = AllocationFor(blockLength);
        _UserData = _Block + HeaderLength;
    }
    else if (length)
    {
        // The data may lie in the block itself.
        std::memmove(_UserData, iData, length);
    }
    std::memset(_Block, 0, HeaderLength);
    _Block[blockLength] = 0;
    _BlockLength = blockLength;
    _Header._ControlLength = blockLength;
    _Header._UserLength = length;
    _Header._CryptLevel = 0;
    StoreHeader();
    return _UserData;
}

int zbFileBufferVersioned::SetBufferFromFile(const char* iPath)
{
    _LastErrorMessage.Reset();
    zbScopedFd fd(iPath ? zbOpenFd(iPath, O_RDONLY) : -1);
    if (!fd.IsOpen())
        return SystemFailure(iPath ? errno : EINVAL, iPath);
    struct stat64 status;
    if (::fstat64(fd.Get(), &status) != 0)
        return SystemFailure(errno, iPath);
    if (S_ISDIR(status.st_mode))
        return SystemFailure(EISDIR, iPath);
    if (static_cast<unsigned long long>(status.st_size) > MaxBlockLength - HeaderLength)
        return SystemFailure(EFBIG, iPath);
    const unsigned int size = static_cast<unsigned int>(status.st_size);
    if (Reserve(HeaderLength + size) != 0)
        return SystemFailure(ENOMEM, iPath);
    // Up to the size found at the opening: a file that shrinks meanwhile
    // gives what could be read.
    size_t total = 0;
    if (int error = zbReadAll(fd.Get(), _Block + HeaderLength, size, total))
        return SystemFailure(error, iPath);
    if (int error = fd.Close())
        return SystemFailure(error, iPath);
    const unsigned int blockLength = HeaderLength + static_cast<unsigned int>(total);
    std::memset(_Block, 0, HeaderLength);
    _Block[blockLength] = 0;
    _UserData = _Block + HeaderLength;
    _BlockLength = blockLength;
    _Header._ControlLength = blockLength;
    _Header._UserLength = total;
    _Header._CryptLevel = 0;
    StoreHeader();
    return 0;
}

void zbFileBufferVersioned::SetVersion(const unsigned int iFirst, const unsigned int iSecond,
                                       const unsigned int iThird)
{
    _Header._Version[0] = iFirst;
    _Header._Version[1] = iSecond;
    _Header._Version[2] = iThird;
    StoreHeader();
    if (_Header._CryptLevel > 0)
        zbCrypt(_Block + kScrambledHeader, kScrambledHeaderLength);
}

void zbFileBufferVersioned::GetVersion(unsigned int& oFirst, unsigned int& oSecond,
                                       unsigned int& oThird) const
{
    oFirst = _Header._Version[0];
    oSecond = _Header._Version[1];
    oThird = _Header._Version[2];
}

void zbFileBufferVersioned::CryptBuffer()
{
    if (_Header._CryptLevel != 0)
        return;
    _Header._CryptLevel = 1;
    StoreHeader();
    zbCrypt(_Block + kScrambledHeader, kScrambledHeaderLength);
    zbCrypt(_UserData, GetBufferLength());
}

void zbFileBufferVersioned::DecryptBuffer()
{
    if (_Header._CryptLevel == 0)
        return;
    _Header._CryptLevel = 0;
    zbDecrypt(_UserData, GetBufferLength());
    // The stored header follows, so that saving the block again does not
    // declare plain data scrambled.
    StoreHeader();
}

int zbFileBufferVersioned::WriteToFile(const char* iPath)
{
    _LastErrorMessage.Reset();
    if (!iPath)
        return 1;
    const int result = WriteBlock(iPath, _Block, _BlockLength - HeaderLength, _UserData);
    _Header._ControlCRC = GetLE32(_Block + kCRC);
    return result ? 1 : 0;
}

int zbFileBufferVersioned::WriteUserDataToFile(const char* iPath)
{
    _LastErrorMessage.Reset();
    if (!iPath)
        return 1;
    return WriteFile(iPath, _UserData, _UserData ? GetBufferLength() : 0);
}

int zbFileBufferVersioned::WriteFile(const char* iPath, const char* iData, size_t iLength)
{
    if (int error = zbReplaceFile(iPath, iData, iLength, 0666))
    {
        zbExtLastError.SetErrno(error);
        SetError("filebuf.systError", iPath, 1);
        return 1;
    }
    return 0;
}

int zbFileBufferVersioned::ReadFromFile(const char* iPath)
{
    _LastErrorMessage.Reset();
    Reset();
    if (!iPath)
        return 0;
    struct stat64 status;
    if (stat64(iPath, &status) != 0)
        return SystemFailure(errno, iPath);
    if (S_ISDIR(status.st_mode))
        return SystemFailure(EISDIR, iPath);
    // Beyond MaxBlockLength the 32-bit lengths of the block cannot count it.
    if (status.st_size <= HeaderLength ||
        static_cast<unsigned long long>(status.st_size) > MaxBlockLength)
    {
        SetError("filebuf.badSize", iPath, 0);
        return 1;
    }
    unsigned int size = static_cast<unsigned int>(status.st_size);

    zbScopedFd in(zbOpenFd(iPath, O_RDONLY));
    if (!in.IsOpen())
        return SystemFailure(errno, iPath);
    // Ends a failure after the file is open: closes it (a failing close
    // has the last word) and empties the block.
    auto fail = [&](const char* iKey, int iSystem)
    {
        if (iSystem)
            zbExtLastError.SetErrno(iSystem);
        SetError(iKey, iPath, iSystem);
        if (int error = in.Close())
        {
            zbExtLastError.SetErrno(error);
            SetError("filebuf.systError", iPath, 1);
        }
        Reset();
        return 1;
    };
    if (Reserve(size) != 0)
        return fail("filebuf.systError", ENOMEM);
    // Read in pieces, each added to the CRC (of bytes 4 to the end) while
    // it is still in the cache.
    unsigned int total = 0;
    unsigned int crc = 0;
    while (total < size)
    {
        unsigned int chunk = size - total < (1u << 18) ? size - total : (1u << 18);
        size_t n = 0;
        if (int error = zbReadAll(in.Get(), _Block + total, chunk, n))
            return fail("filebuf.systError", error);
        if (n == 0)
            break;
        const unsigned int from = total < 4 ? 4 : total;
        total += static_cast<unsigned int>(n);
        if (total > from)
            crc = zbCRC32Continue(crc, _Block + from, total - from);
    }
    // A file that shrank while being read.
    if (total != size)
        return fail("filebuf.badSize", 0);
    _BlockLength = size;
    _Block[size] = 0;

    if (GetLE32(_Block + kCRC) != crc)
        return fail("filebuf.badCRC", 0);
    if (GetLE32(_Block + kControlVersion) != 1)
        return fail("filebuf.badVersion", 0);
    if (GetLE64(_Block + kControlLength) != size)
        return fail("filebuf.badSize", 0);
    // The user data length must agree with the file: the data is read,
    // descrambled and copied through it.
    if (GetLE64(_Block + kUserLength) != size - HeaderLength)
        return fail("filebuf.badSize", 0);

    _Header._ControlCRC = GetLE32(_Block + kCRC);
    _Header._ControlVersion = 1;
    _Header._ControlLength = size;
    _Header._UserLength = size - HeaderLength;
    _Header._CryptLevel = GetLE32(_Block + kCryptLevel);
    char tail[kScrambledHeaderLength];
    std::memcpy(tail, _Block + kScrambledHeader, kScrambledHeaderLength);
    if (_Header._CryptLevel != 0)
        zbDecrypt(tail, kScrambledHeaderLength);
    for (int i = 0; i < 3; ++i)
        _Header._Version[i] = GetLE32(tail + 4 * i);
    _Header._Reserved3 = GetLE64(tail + (kReserved3 - kScrambledHeader));

    if (int error = in.Close())
    {
        zbExtLastError.SetErrno(error);
        SetError("filebuf.systError", iPath, 1);
        Reset();
        return 1;
    }
    return 0;
}

int zbFileBufferVersioned::PackFile(const char* iIn, const char* iOut,
                                    const unsigned int iVersion[3], const int iCrypt)
{
    _LastErrorMessage.Reset();
    Reset();
    zbScopedFd in(iIn ? zbOpenFd(iIn, O_RDONLY) : -1);
    if (!in.IsOpen())
    {
        zbExtLastError.SetErrno(iIn ? errno : EINVAL);
        return 1;
    }
    struct stat64 status;
    int failure = ::fstat64(in.Get(), &status) != 0 ? errno : 0;
    if (!failure && S_ISDIR(status.st_mode))
        failure = EISDIR;
    if (!failure && static_cast<unsigned long long>(status.st_size) > MaxBlockLength - HeaderLength)
        failure = EFBIG;
    if (failure)
    {
        zbExtLastError.SetErrno(failure);
        return 1;
    }
    const unsigned int size = static_cast<unsigned int>(status.st_size);
    // The header as the block would store it.
    _Header._ControlLength = HeaderLength + static_cast<unsigned long long>(size);
    _Header._UserLength = size;
    _Header._CryptLevel = iCrypt ? 1 : 0;
    for (int i = 0; i < 3; ++i)
        _Header._Version[i] = iVersion[i];
    StoreHeader();
    char header[HeaderLength];
    std::memcpy(header, _Block, HeaderLength);
    Reset();
    if (iCrypt)
        zbCrypt(header + kScrambledHeader, kScrambledHeaderLength);
    if (!iOut)
    {
        zbExtLastError.SetErrno(EINVAL);
        SetError("filebuf.systError", iOut, 1);
        return 2;
    }
    return WriteBlock(iOut, header, size, nullptr, in.Get(), iIn, iCrypt);
}

int zbFileBufferVersioned::WriteBlock(const char* iOut, char* ioHeader, unsigned int iLength,
                                      const char* iData, int iIn, const char* iInName,
                                      int iScramble)
{
    // The block takes the place of iOut once complete: until then, and
    // after any failure, iOut stays as it was.  Being a new file renamed
    // over the old, it may replace the very file its data is read from.
    zbFileReplacer out(iOut, 0666);
    auto fail = [&](int iResult, int iErrno, const char* iKey, const char* iPath)
    {
        zbExtLastError.SetErrno(iErrno);
        if (iKey)
            SetError(iKey, iPath, iErrno != 0);
        out.Abandon();
        return iResult;
    };
    // Data at hand has its CRC before anything is written; data read gets
    // it once all is read, written last into its place.
    unsigned int crc = zbCRC32Continue(0, ioHeader + 4, HeaderLength - 4);
    if (iData)
        PutLE32(ioHeader + kCRC, crc = zbCRC32Continue(crc, iData, iLength));
    if (int error = out.Open())
        return fail(2, error, "filebuf.systError", iOut);
    if (int error = out.Write(ioHeader, HeaderLength))
        return fail(2, error, "filebuf.systError", iOut);
    if (iData)
    {
        if (int error = out.Write(iData, iLength))
            return fail(2, error, "filebuf.systError", iOut);
        if (int error = out.Commit())
            return fail(2, error, "filebuf.systError", iOut);
        return 0;
    }

    // Pieces of a multiple of 256 bytes: the scrambling of a piece on its
    // own is that of the whole data.
    const size_t piece = 1u << 18;
    std::unique_ptr<char, decltype(&std::free)> buffer(static_cast<char*>(std::malloc(piece)),
                                                       &std::free);
    if (!buffer)
        return fail(2, ENOMEM, "filebuf.systError", iOut);
    unsigned long long total = 0;
    while (total < iLength)
    {
        const size_t wanted =
            iLength - total < piece ? static_cast<size_t>(iLength - total) : piece;
        size_t n = 0;
        if (int error = zbReadAll(iIn, buffer.get(), wanted, n))
            return fail(1, error, nullptr, nullptr);
        if (n == 0)
            break;
        if (iScramble)
            zbCrypt(buffer.get(), static_cast<unsigned int>(n));
        crc = zbCRC32Continue(crc, buffer.get(), n);
        if (int error = out.Write(buffer.get(), n))
            return fail(2, error, "filebuf.systError", iOut);
        total += n;
    }
    // A file that shrank while being read: its size no longer matches the
    // header written first.
    if (total != iLength)
        return fail(2, 0, "filebuf.badSize", iInName);
    char stored[4];
    PutLE32(stored, crc);
    if (int error = zbWriteAllAt(out.Fd(), stored, 4, 0))
        return fail(2, error, "filebuf.systError", iOut);
    if (int error = out.Commit())
        return fail(2, error, "filebuf.systError", iOut);
    return 0;
}

void zbFileBufferVersioned::Dump(zbOFStream& oStream)
{
    oStream << "+ Dump of zbFileBufferVersioned: _SIZEOF_BLOCK(_Block) = "
            << static_cast<unsigned int>(HeaderLength) << endl;
    oStream << "+  Control CRC     = " << _Header._ControlCRC << endl;
    oStream << "+  Internal:" << endl;
    oStream << "+   Control Version = " << _Header._ControlVersion << endl;
    oStream << "+   Control Length  = " << static_cast<unsigned int>(_Header._ControlLength)
            << endl;
    oStream << "+  User:" << endl;
    oStream << "+   User data length  = " << static_cast<unsigned int>(_Header._UserLength) << endl;
    oStream << "+   Version = " << _Header._Version[0] << "." << _Header._Version[1] << "."
            << _Header._Version[2] << endl;
    if (_Header._CryptLevel == 0)
    {
        oStream << "+   Block is not crypted" << endl;
        oStream << "+     User data         = [" << _UserData << "]" << endl;
    }
    else
    {
        oStream << "+   Block is crypted" << endl;
        oStream << "+  *****  Crypted buffer end of dump  *****" << endl;
    }
}
