#ifndef zbRTViewDataStat_H
#define zbRTViewDataStat_H
// Statistics of installed runtime views: for each framework, its elements
// keyed by name with the size and time of the installed files, read from
// and written to statistics files: the magic line, then one record per
// element (see zbRTViewElementStat), frameworks in the order of the
// framework dictionary, elements in the order of each framework's.
//
// Elements of one framework merge by name as in zbRTViewData; frameworks
// never mix.  Writing builds the whole text first and replaces the file only
// once it is complete.

#include "zbRTViewData.h"
#include "zbRTViewElementStat.h"

class zbOFStream;

class zbRTViewDataStat
{
  public:
    using PathModification = zbRTViewData::PathModification;
    using DuplicateBehaviour = zbRTViewData::DuplicateBehaviour;

    static constexpr char _Magic[] = "!<zbRTViewDataStat> v1.0.0";
    static constexpr unsigned int _MagicLength = sizeof _Magic - 1;

    // Buckets of the framework dictionary and of each element dictionary
    // (at least 1).
    zbRTViewDataStat(const unsigned int& iFrameworkDimension,
                     const unsigned int& iElementDimension);
    virtual ~zbRTViewDataStat();
    zbRTViewDataStat(const zbRTViewDataStat&) = delete;
    zbRTViewDataStat& operator=(const zbRTViewDataStat&) = delete;

    // Merges the records of a file into the set (empty lines skipped); one
    // of zbRTViewData::ReadResult.
    int Read(const zbNewString& iPath, const PathModification& iMode);
    // 0, or 1 after a report.
    int Write(const zbNewString& iPath);

    // 1 when a new element was added, else 0.
    int InsertForFramework(const zbRTViewElementStat& iElement,
                           const DuplicateBehaviour& iBehaviour);

    // The framework's elements, or null.
    zbHashDiczbRTViewElementStat*
    GetListOfElementsForFramework(const zbNewString& iFramework) const;
    // Append the framework's elements whose tags match the masks.
    void GetListOfElementsForFramework(const zbNewString& iFramework,
                                       const zbRTViewElementType& iType,
                                       const zbRTViewElementExposure& iExposure,
                                       QORListPtrzbRTViewElementStat& ioList) const;
    void GetListOfElementsForFramework(const zbNewString& iFramework, const int& iTypeMask,
                                       const int& iExposureMask,
                                       QORListPtrzbRTViewElementStat& ioList) const;
    void GetListOfElementsForFramework(const zbNewString& iFramework,
                                       const zbRTViewElementType& iType,
                                       const zbRTViewElementExposure& iExposure,
                                       QORListPtrzbRTViewElement& ioList) const;
    void GetListOfElementsForFramework(const zbNewString& iFramework, const int& iTypeMask,
                                       const int& iExposureMask,
                                       QORListPtrzbRTViewElement& ioList) const;

    void RemoveAll();
    const zbHashDiczbHashDiczbRTViewElementStat& GetFrameworks() const { return _Frameworks; }

    // The file text: 0, or 1 when memory runs out or the stream fails.
    int Print(zbOFStream& ioStream) const;
    void PrintStats(zbOFStream& ioStream) const;

    // The file text in a new malloc'ed block (the caller frees it); null
    // when memory runs out.
    char* _FillBuffer(unsigned int& oLength) const;

  private:
    int _Merge(const zbRTViewElementStat& iElement, bool iReport);
    template <class L>
    void _Append(const zbNewString& iFramework, int iTypeMask, int iExposureMask, L& ioList) const;

    zbHashDiczbHashDiczbRTViewElementStat _Frameworks;
    unsigned int _ElementDimension;
};

using zbHashDiczbRTViewDataStat = zbHashDic<zbRTViewDataStat>;
template <> struct zbHashDicValueName<zbRTViewDataStat>
{
    static const char* Text() { return "zbRTViewDataStat"; }
};

#endif
