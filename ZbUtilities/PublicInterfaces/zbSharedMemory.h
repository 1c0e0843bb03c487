#ifndef zbSharedMemory_H
#define zbSharedMemory_H
// Named data blocks in a System V shared-memory segment: one server process
// (zbSharedMemoryS) creates the segment and appends blocks; client processes
// (zbSharedMemoryC) attach it read-only, by its name, and extract blocks by
// key.
//
// Segment layout, with I = Size / IndexRatio (integer division):
//   bytes 0 .. I-1       the index: one line "KEY|LENGTH\n" per block, in
//                        append order, the whole text NUL-terminated;
//   bytes I .. Size-1    the data: the blocks back to back, in the order
//                        of the index lines, without separators.
// A block's data starts at I plus the lengths of the lines before it.
// The name of a segment is its identifier in decimal.  Client and server
// must be built with the same Size and IndexRatio.
//
// Nothing here prints: every failure returns -1 and leaves a text in
// GetzbSharedMemoryLastError() (the system's text for a failed call,
// preceded by the call's name, or one of the fixed texts below).
//
// An index is read defensively: a line without its '|', without a decimal
// length or without its newline ("Malformed index line"), or whose block
// would reach past the end of the data area ("Index line points past the
// data area") is refused.  The attached memory is all Extract reads, so a
// private buffer can stand in for a segment (a class derived for tests
// sets _Memory).

#include "QORUnicodeString.h"

class zbSharedMemory
{
  public:
    // 2 MiB, a tenth of it for the index.
    static constexpr unsigned int DefaultSize = 2097152;
    static constexpr unsigned int DefaultIndexRatio = 10;

    // Fixed error texts.
    static constexpr const char* InvalidArgument = "Invalid argument";
    static constexpr const char* NoSpace = "No space left on device";
    static constexpr const char* NoIndex = "No index found";
    static constexpr const char* NoData = "No data found";
    static constexpr const char* MalformedIndex = "Malformed index line";
    static constexpr const char* OutOfDataArea = "Index line points past the data area";
    static constexpr const char* SegmentTooSmall = "Segment smaller than the expected size";

    zbSharedMemory();
    zbSharedMemory(unsigned int iSize, unsigned int iIndexRatio);
    // Releases the index copy; detaching and removing are Close's work.
    virtual ~zbSharedMemory();
    zbSharedMemory(const zbSharedMemory&) = delete;
    zbSharedMemory& operator=(const zbSharedMemory&) = delete;

    virtual int Close() = 0;
    // Close, and forget the segment even when Close failed.
    virtual void Reset() = 0;

    const char* GetName() const { return _Name; }
    char* GetMemory() const { return _Memory; }
    bool IsGood() const { return _Id != -1 && _Memory != NotAttached(); }
    unsigned int GetSize() const { return _Size; }
    // Bytes of the index area (0 when the ratio is 0) and of the data area.
    unsigned int GetIndexSize() const { return _IndexRatio ? _Size / _IndexRatio : 0; }
    unsigned int GetDataSize() const { return _Size - GetIndexSize(); }

    const QORUnicodeString& GetzbSharedMemoryLastError() const { return _LastError; }
    void SetzbSharedMemoryLastError(const QORUnicodeString& iText) { _LastError = iText; }
    int GetLastErrno() const { return _LastErrno; }
    // The text of *iErrno (errno when null), preceded by *iContext when
    // both are not empty.
    void PutzbSharedMemoryLastError(const QORUnicodeString* iContext, int* iErrno);

    // The block iKey: 0 with a new array of *oLength bytes in *oData (null
    // for an empty block; the caller releases it with delete[]), -1 when
    // there is no such block or the index cannot be read.  The index is
    // copied at the first call: blocks appended later are not seen until
    // the segment is opened again.
    int Extract(const char* iKey, char** oData, unsigned int* oLength);
    // The index text ("KEY|LENGTH\n" lines), copied as Extract copies it,
    // or null (the error text says why).
    const char* GetIndex();

    // Number of objects ever constructed.
    static int GetInstanceCount() { return _Instance; }

  protected:
    // The value of _Memory while nothing is attached.
    static char* NotAttached() { return reinterpret_cast<char*>(-1); }

    // -1 with the fixed text iText.
    int _Fail(const char* iText);
    // -1 with the text of the system error iErrno alone.
    int _FailSystem(int iErrno);
    void _ReleaseIndexCopy();

    unsigned int _Size;
    unsigned int _IndexRatio;
    char* _Memory;
    QORUnicodeString _LastError;
    int _Id;
    char _Name[1024];
    int _LastErrno;
    char* _IndexCopy;

    static int _Instance;
};

#endif
