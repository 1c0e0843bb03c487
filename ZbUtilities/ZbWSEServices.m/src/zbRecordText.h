#ifndef zbRecordText_H
#define zbRecordText_H
// The text of a whole record file (a magic line, then one record per
// element) built in one malloc'ed block, and its safe writing: the file's
// directory made, the text written beside the file and renamed over it once
// complete (private to this module).

#include <cstddef>

#include "zbFileLines.h"
#include "zbRTViewData.h"
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

// Whether a first line announces the format of iMagic ("!<NAME> vVERSION")
// at its version or a later one: the line begins with the magic up to and
// including " v", and the version after it does not compare lower, byte for
// byte, than the magic's.  A file of another format whose name merely sorts
// after this one is refused.
inline bool zbIsMagicLineAccepted(const char* iLine, size_t iLength, const char* iMagic)
{
    const char* version = std::strstr(iMagic, " v");
    size_t head = version ? static_cast<size_t>(version + 2 - iMagic) : std::strlen(iMagic);
    if (iLength < head || std::memcmp(iLine, iMagic, head) != 0)
        return false;
    size_t ours = std::strlen(iMagic + head);
    size_t theirs = iLength - head;
    int order = std::memcmp(iLine + head, iMagic + head, theirs < ours ? theirs : ours);
    return order != 0 ? order > 0 : theirs >= ours;
}

// Reads a line file whose first line is a magic: every line after it goes to
// iAdd as zbForEachFileLine passes them.  A result of zbRTViewData::Read:
// ReadUnreadable when the file cannot be read or holds a NUL byte (its error
// recorded); ReadEmpty and ReadBadFirstLine when its first line is not
// accepted by zbIsMagicLineAccepted (both with EBADF recorded, nothing
// passed).
template <class F>
int zbForEachLineAfterMagic(const char* iPath, const char* iMagic, int iSkipEmpty, int iStripCR,
                            F iAdd)
{
    char* buffer = nullptr;
    unsigned int size = 0;
    if (zbMMap(iPath, 8, buffer, size, 0) != 0)
        return zbRTViewData::ReadUnreadable;
    int result = zbRTViewData::ReadDone;
    if (size == 0)
        result = zbRTViewData::ReadEmpty;
    else
    {
        const char* end = buffer + size;
        const char* lf = static_cast<const char*>(std::memchr(buffer, '\n', size));
        const char* stop = lf ? lf : end;
        if (!zbIsMagicLineAccepted(buffer, static_cast<size_t>(stop - buffer), iMagic))
            result = zbRTViewData::ReadBadFirstLine;
        else if (lf)
            zbForEachLine(lf + 1, end, iSkipEmpty, iStripCR, iAdd);
    }
    std::free(buffer);
    if (result != zbRTViewData::ReadDone)
        zbExtLastError.SetErrno(EBADF);
    return result;
}

// Reads the records of a record file after its magic line: each line, its
// separators changed as iMode asks, goes to iAdd(record, length).  The
// results of zbForEachLineAfterMagic, and ReadLongLine (EBADF recorded) for
// a line longer than MaxRecordLength, which no record is: the records before
// it are passed, none after.
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
    if (result == zbRTViewData::ReadDone && tooLong)
    {
        zbExtLastError.SetErrno(EBADF);
        result = zbRTViewData::ReadLongLine;
    }
    return result;
}

#endif
