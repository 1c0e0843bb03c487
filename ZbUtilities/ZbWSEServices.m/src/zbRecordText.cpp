#include "zbRecordText.h"

#include <cstdlib>
#include <cstring>

#include "QORString.h"
#include "zbDescriptor.h"
#include "zbDirectories.h"
#include "zbFileName.h"
#include "zbPathSeparators.h"
#include "zbReport.h"

namespace
{
// The block grows by this much, so that a record always fits in what is left.
const size_t kGrowth = 40960;
// Room made at the start besides the magic line.
const size_t kInitial = 8193;
} // namespace

zbRecordText::zbRecordText(const char* iMagic) : _Buffer(nullptr), _Capacity(0), _Used(0)
{
    size_t magicLength = std::strlen(iMagic);
    _Capacity = magicLength + kInitial;
    _Buffer = static_cast<char*>(std::malloc(_Capacity + 1));
    if (!_Buffer)
        return;
    std::memcpy(_Buffer, iMagic, magicLength);
    _Buffer[magicLength] = '\n';
    _Used = magicLength + 1;
}

zbRecordText::~zbRecordText()
{
    std::free(_Buffer);
}

char* zbRecordText::Reserve(size_t iLength)
{
    if (!_Buffer)
        return nullptr;
    if (_Capacity - _Used < iLength)
    {
        size_t capacity = _Capacity;
        while (capacity - _Used < iLength)
            capacity += kGrowth;
        char* grown = static_cast<char*>(std::realloc(_Buffer, capacity + 1));
        if (!grown)
        {
            std::free(_Buffer);
            _Buffer = nullptr;
            return nullptr;
        }
        _Buffer = grown;
        _Capacity = capacity;
    }
    return _Buffer + _Used;
}

char* zbRecordText::Release(unsigned int& oLength)
{
    oLength = 0;
    if (!_Buffer || _Used > 0xFFFFFFFFu)
        return nullptr;
    char* buffer = _Buffer;
    buffer[_Used] = 0;
    oLength = static_cast<unsigned int>(_Used);
    _Buffer = nullptr;
    return buffer;
}

int zbRecordText::Write(const char* iPath, const char* iBuffer, unsigned int iLength)
{
    QORString directory;
    zbFileName(iPath).GetDirname(directory);
    if (directory.GetLengthInChar() > 0 &&
        zbCreateOrReplaceDirectory(directory.CastToCharPtr()) != 0)
        return zbReportLastError(directory.CastToCharPtr());
    zbFileReplacer file(iPath);
    int error = file.Open();
    if (!error)
        error = file.Write(iBuffer, iLength);
    if (!error)
        error = file.Commit();
    return error ? zbReportSystemError(iPath, error) : 0;
}

const char* zbModifyRecordPaths(int iMode, const char* iLine, unsigned int iLength, char* oLine)
{
    if (iMode < 0 || iMode > 3)
        return nullptr;
    if (iMode == 0)
        return iLine;
    std::memcpy(oLine, iLine, iLength);
    oLine[iLength] = 0;
    if (iMode == 1)
    {
        for (char* p = oLine; p < oLine + iLength; ++p)
            if (*p == zbDosPathSeparator[0])
                *p = zbPathSeparator[0];
    }
    else if (iMode == 2)
        zbUnixifyPath(oLine);
    else
        zbDosifyPath(oLine);
    return oLine;
}
