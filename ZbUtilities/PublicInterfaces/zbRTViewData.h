#ifndef zbRTViewData_H
#define zbRTViewData_H
// A set of runtime-view elements keyed by name, read from and written to
// runtime-view data files: the magic line, then one record per element in
// the dictionary's order (see zbRTViewElement).
//
// Elements of the same name merge: the higher type id wins (DataInternal
// over Data over Internal over Buildtime over Runtime); for equal types the
// higher exposure id wins (NotDeliverable over Deliverable), and two
// different runtime-view names are reported ("RTVduplicate_r": always when
// reading, when inserting only if asked to).
//
// Writers build the whole text first and replace the file only once it is
// complete: a failed write leaves the old file as it was.

#include "QORString.h"
#include "zbRTViewElement.h"

class zbOFStream;

class zbRTViewData
{
  public:
    // What reading does to each record line first (any other value reads
    // no record: the type is an int so that such a value is valid).
    enum PathModification : int
    {
        KeepPaths = 0,      // as read
        BackslashPaths = 1, // every zbDosPathSeparator becomes zbPathSeparator
        UnixifyPaths = 2,   // zbUnixifyPath
        DosifyPaths = 3,    // zbDosifyPath
    };
    // Whether Insert reports elements of the same name and type with
    // different runtime-view names.
    enum DuplicateBehaviour : int
    {
        MergeSilently = 0,
        ReportDuplicates = 1,
    };

    static constexpr char _Magic[] = "!<zbRTViewData> v1.0.0";
    static constexpr unsigned int _MagicLength = sizeof _Magic - 1;

    // iDimension: buckets of the element dictionary (at least 1).
    explicit zbRTViewData(const unsigned int iDimension);
    virtual ~zbRTViewData();
    zbRTViewData(const zbRTViewData&) = delete;
    zbRTViewData& operator=(const zbRTViewData&) = delete;

    // The results of Read.
    enum ReadResult : int
    {
        ReadDone = 0,
        ReadUnreadable = 1, // the file cannot be read (its errno recorded)
        // The rest with EBADF recorded:
        ReadEmpty = -10,       // the file is empty
        ReadBadFirstLine = -1, // not the magic at this version or a later one
        ReadLongLine = -2,     // a line longer than any record: those before it merged
    };

    // Merges the records of a file into the set; one of ReadResult.
    // Reports nothing but the conflicts of runtime-view names.  A mode
    // other than those of PathModification reads no record.
    int Read(const QORString& iPath, const PathModification& iMode);
    // 0, or 1 after a report.
    int Write(const QORString& iPath);
    // Writes only when the file does not already hold the text (oChanged 1
    // then); an unchanged file is not touched.  0, or 1 after a report.
    int WriteIfChanged(const QORString& iPath, int& oChanged);

    // 1 when a new element was added, else 0.
    int Insert(const zbRTViewElement& iElement, const DuplicateBehaviour& iBehaviour);
    // The number of elements added.
    int Insert(const zbRTViewData& iOther, const DuplicateBehaviour& iBehaviour);

    zbRTViewElement* Locate(const zbNewString& iName) const;
    // 1 removed and deleted, 0 absent.
    int Remove(const zbNewString& iName);
    // Removes the elements whose type and exposure match the masks; the number removed.
    int Remove(const int iTypeMask, const int iExposureMask);
    void RemoveAll();
    int GetNbElements() const { return _Elements.GetNbItems(); }

    // Append pointers to the set's own elements (the set keeps them).
    void GetListOfElements(QORListPtrzbRTViewElement& ioList) const;
    void GetListOf(const zbRTViewElementType& iType, const zbRTViewElementExposure& iExposure,
                   QORListPtrzbRTViewElement& ioList) const;
    void GetListOf(const int iTypeMask, const int iExposureMask,
                   QORListPtrzbRTViewElement& ioList) const;

    // The file text in a new malloc'ed block (the caller frees it),
    // NUL-terminated; oLength without the NUL.  Null and 0 when memory runs out.
    void _FillBuffer(char*& oBuffer, unsigned int& oLength) const;
    // Writes such a text to a file: 0, or 1 (at once for a null or empty text).
    int _Print(const QORString& iPath, const char* iBuffer, const unsigned int& iLength) const;

    void PrintStats(zbOFStream& ioStream) const;
    // The file text.
    void Dump(zbOFStream& ioStream) const;

  private:
    // Merges one element in; 1 when it was added.
    int _Merge(const zbRTViewElement& iElement, bool iReport);

    unsigned int _Dimension;
    zbHashDiczbRTViewElement _Elements;
};

#endif
