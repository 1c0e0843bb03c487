#ifndef zbFileStats_H
#define zbFileStats_H
// The library's compact view of a file's status: times, size and mode.

#include <cstdint>
#include <sys/stat.h>

class zbOFStream;

struct FileStat
{
    int32_t _ChangeTime;
    int32_t _ModificationTime;
    int32_t _AccessTime;
    int64_t _Size;
    uint32_t _Mode;
};

// The same values with a 32-bit size.
struct FileStat32
{
    int32_t _ChangeTime;
    int32_t _ModificationTime;
    int32_t _AccessTime;
    int32_t _Size;
    uint32_t _Mode;
};

void ConvertFileStat32ToFileStat(FileStat& oStat, const FileStat32& iStat);
void ConvertStatToFileStat(FileStat& oStat, const struct stat& iStat);
void ConvertStat64ToFileStat(FileStat& oStat, const struct stat64& iStat);
// Zero-fills oStat, then sets the five values.
void ConvertFileStatToStat64(struct stat64& oStat, const FileStat& iStat);

class zbFileStats
{
  public:
    zbFileStats() { Reset(); }
    virtual ~zbFileStats() = default;

    virtual void Reset();
    // stat64 (following links); 0 on success, 1 on failure (values reset,
    // nothing recorded).
    virtual int Read(const char* iName);
    // Copies iStats, then sets the file's access and modification times
    // from them; 0 on success, 1 with errno recorded.
    virtual int Write(const char* iName, const zbFileStats& iStats);
    virtual void Put(const FileStat& iStat);
    virtual long long SizeInBytes() const { return _Stat._Size; }
    virtual long LastModificationTime() const { return _Stat._ModificationTime; }
    virtual int IsDirectory() const { return S_ISDIR(_Stat._Mode) ? 1 : 0; }
    virtual int IsSymbolicLink() const { return S_ISLNK(_Stat._Mode) ? 1 : 0; }
    virtual int IsRegular() const { return S_ISREG(_Stat._Mode) ? 1 : 0; }
    // 0 when this object was never read (no modification time); otherwise 1
    // when sizes and modification times are equal.
    virtual int operator==(const zbFileStats& iOther) const;
    virtual int operator!=(const zbFileStats& iOther) const { return *this == iOther ? 0 : 1; }
    virtual void Dump(zbOFStream& ioStream) const;
    virtual const FileStat* GetPtrTo() const { return &_Stat; }
    virtual int GetSize() const { return static_cast<int>(sizeof(FileStat)); }
    virtual void Put(const FileStat32& iStat);
    virtual void Put(const struct stat& iStat);

  private:
    FileStat _Stat;
};

#endif
