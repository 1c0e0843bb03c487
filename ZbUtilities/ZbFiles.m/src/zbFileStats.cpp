#include "zbFileStats.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <utime.h>

#include "zbErrorCodeManager.h"
#include "zbOFStream.h"

static_assert(sizeof(FileStat) == 32, "FileStat is a 32-byte record");

void ConvertFileStat32ToFileStat(FileStat& oStat, const FileStat32& iStat)
{
    oStat._ChangeTime = iStat._ChangeTime;
    oStat._ModificationTime = iStat._ModificationTime;
    oStat._AccessTime = iStat._AccessTime;
    oStat._Size = iStat._Size;
    oStat._Mode = iStat._Mode;
}

// The fields kept from either form of the system's status record.
template <class Stat> static void zbFromStat(FileStat& oStat, const Stat& iStat)
{
    oStat._ChangeTime = static_cast<int32_t>(iStat.st_ctime);
    oStat._ModificationTime = static_cast<int32_t>(iStat.st_mtime);
    oStat._AccessTime = static_cast<int32_t>(iStat.st_atime);
    oStat._Size = static_cast<int64_t>(iStat.st_size);
    oStat._Mode = static_cast<uint32_t>(iStat.st_mode);
}

void ConvertStatToFileStat(FileStat& oStat, const struct stat& iStat)
{
    zbFromStat(oStat, iStat);
}

void ConvertStat64ToFileStat(FileStat& oStat, const struct stat64& iStat)
{
    zbFromStat(oStat, iStat);
}

void ConvertFileStatToStat64(struct stat64& oStat, const FileStat& iStat)
{
    std::memset(&oStat, 0, sizeof oStat);
    oStat.st_ctime = iStat._ChangeTime;
    oStat.st_mtime = iStat._ModificationTime;
    oStat.st_atime = iStat._AccessTime;
    oStat.st_size = iStat._Size;
    oStat.st_mode = iStat._Mode;
}

void zbFileStats::Reset()
{
    std::memset(&_Stat, 0, sizeof _Stat);
}

int zbFileStats::Read(const char* iName)
{
    struct stat64 st;
    if (!iName || ::stat64(iName, &st) != 0)
    {
        Reset();
        return 1;
    }
    ConvertStat64ToFileStat(_Stat, st);
    return 0;
}

int zbFileStats::Write(const char* iName, const zbFileStats& iStats)
{
    _Stat = iStats._Stat;
    if (!iName)
    {
        zbExtLastError.SetErrno(EINVAL);
        return 1;
    }
    struct utimbuf times;
    times.actime = _Stat._AccessTime;
    times.modtime = _Stat._ModificationTime;
    if (::utime(iName, &times) != 0)
    {
        zbExtLastError.SetErrno(errno);
        return 1;
    }
    return 0;
}

void zbFileStats::Put(const FileStat& iStat)
{
    _Stat = iStat;
}

void zbFileStats::Put(const FileStat32& iStat)
{
    ConvertFileStat32ToFileStat(_Stat, iStat);
}

void zbFileStats::Put(const struct stat& iStat)
{
    ConvertStatToFileStat(_Stat, iStat);
}

int zbFileStats::operator==(const zbFileStats& iOther) const
{
    if (_Stat._ModificationTime <= 0)
        return 0;
    return _Stat._Size == iOther._Stat._Size &&
                   _Stat._ModificationTime == iOther._Stat._ModificationTime
               ? 1
               : 0;
}

void zbFileStats::Dump(zbOFStream& ioStream) const
{
    char formatted[128] = "";
    time_t mtime = _Stat._ModificationTime;
    struct tm local;
    if (::localtime_r(&mtime, &local))
        std::strftime(formatted, sizeof formatted, "%m/%d/%Y-%H:%M:%S", &local);
    ioStream.Puts("# - File information:\t\n");
    ioStream.Print("#   File object size in octets:         %lld\n",
                   static_cast<long long>(_Stat._Size));
    ioStream.Print("#   File object last modification time: %lu (%s)\n",
                   static_cast<unsigned long>(_Stat._ModificationTime), formatted);
}
