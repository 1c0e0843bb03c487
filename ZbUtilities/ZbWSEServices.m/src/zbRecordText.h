#ifndef zbRecordText_H
#define zbRecordText_H
// The text of a whole record file (a magic line, then one record per
// element) built in one malloc'ed block, and its safe writing: the file's
// directory made, the text written beside the file and renamed over it once
// complete (private to this module).

#include <cstddef>

#include "zbFileLines.h"
#include "zbRTViewElement.h"

class zbRecordText
{
  public:
    // Starts the block with iMagic and a line feed.  Ok() is false when
    // memory runs out.
    explicit zbRecordText(const char* iMagic);
    ~zbRecordText();
    zbRecordText(const zbRecordText&) = delete;
    zbRecordText& operator=(const zbRecordText&) = delete;

    bool Ok() const { return _Buffer != nullptr; }
    // Room for at least iLength more bytes and a NUL; null when memory runs
    // out (the block is then dropped and Ok() false).
    char* Reserve(size_t iLength);
    // iLength bytes written at the last Reserve are kept.
    void Commit(unsigned int iLength) { _Used += iLength; }
    // Appends the record of iElement (its FillBuffer writes at most
    // iMaxLength bytes and a NUL).
    template <class E> bool AppendRecord(const E& iElement, size_t iMaxLength)
    {
        char* at = Reserve(iMaxLength);
        if (!at)
            return false;
        unsigned int length = 0;
        iElement.FillBuffer(at, length);
        Commit(length);
        return true;
    }
    // Hands the NUL-terminated block to the caller (who frees it); null and
    // 0 when memory ran out or the text passes 4 GB.
    char* Release(unsigned int& oLength);

    // Writes a text: 0, or 1 after a report.
    static int Write(const char* iPath, const char* iBuffer, unsigned int iLength);

  private:
    char* _Buffer;
    size_t _Capacity;
    size_t _Used;
};

// The separators of a record line of iLength bytes (at most MaxRecordLength)
// changed as a reading mode asks, into oLine (MaxRecordLength + 1 bytes,
// NUL-terminated): 0 as read, 1 every DOS separator made "/", 2
// zbUnixifyPath, 3 zbDosifyPath.  Null for another mode; iLine itself for
// mode 0 (nothing copied).
const char* zbModifyRecordPaths(int iMode, const char* iLine, unsigned int iLength, char* oLine);

// Reads the records of a record file after its magic line: each line, its
// separators changed as iMode asks, goes to iAdd(record, length).  The
// results of zbForEachLineAfterMagic, and -2 (EBADF recorded) for a line
// longer than MaxRecordLength, which no record is: the records before it
// are passed, none after.
template <class F>
int zbForEachRecord(const char* iPath, const char* iMagic, int iSkipEmpty, int iMode, F iAdd)
{
    char line[zbRTViewElement::MaxRecordLength + 1];
    bool tooLong = false;
    int result = zbForEachLineAfterMagic(
        iPath, iMagic, iSkipEmpty, 0,
        [&](const char* iStart, int iLength)
        {
            const unsigned int length = static_cast<unsigned int>(iLength);
            tooLong = tooLong || length > zbRTViewElement::MaxRecordLength;
            if (tooLong)
                return;
            if (const char* record = zbModifyRecordPaths(iMode, iStart, length, line))
                iAdd(record, length);
        });
    if (result == 0 && tooLong)
    {
        zbExtLastError.SetErrno(EBADF);
        result = -2;
    }
    return result;
}

#endif
