#include "zbRTViewDataStat.h"

#include <cerrno>
#include <cstdlib>

#include "zbFileLines.h"
#include "zbOFStream.h"
#include "zbRecordText.h"
#include "zbReport.h"

zbRTViewDataStat::zbRTViewDataStat(const unsigned int& iFrameworkDimension,
                                   const unsigned int& iElementDimension)
    : _Frameworks(static_cast<int>(iFrameworkDimension)), _ElementDimension(iElementDimension)
{
}

zbRTViewDataStat::~zbRTViewDataStat()
{
    RemoveAll();
}

void zbRTViewDataStat::RemoveAll()
{
    for (zbHashDiczbRTViewElementStat* elements : _Frameworks.Values())
        elements->ApplyDelete();
    _Frameworks.ApplyDelete();
}

int zbRTViewDataStat::_Merge(const zbRTViewElementStat& iElement, bool iReport)
{
    zbHashDiczbRTViewElementStat* elements = GetListOfElementsForFramework(iElement._Framework);
    if (!elements)
    {
        elements = new zbHashDiczbRTViewElementStat(static_cast<int>(_ElementDimension));
        _Frameworks.Insert(iElement._Framework, elements);
    }
    zbRTViewElementStat* stored =
        static_cast<zbRTViewElementStat*>(elements->Locate(iElement._Name));
    if (!stored)
    {
        elements->Insert(iElement._Name, new zbRTViewElementStat(iElement));
        return 1;
    }
    if (zbRTViewElement::Supersedes(iElement, *stored, iReport))
        *stored = iElement;
    return 0;
}

int zbRTViewDataStat::InsertForFramework(const zbRTViewElementStat& iElement,
                                         const DuplicateBehaviour& iBehaviour)
{
    return _Merge(iElement, iBehaviour != zbRTViewData::MergeSilently);
}

int zbRTViewDataStat::Read(const zbNewString& iPath, const PathModification& iMode)
{
    return zbForEachRecord(iPath.CastToCharPtr(), _Magic, 1, iMode,
                           [&](const char* iRecord, unsigned int iLength)
                           { _Merge(zbRTViewElementStat(iRecord, iLength), true); });
}

char* zbRTViewDataStat::_FillBuffer(unsigned int& oLength) const
{
    zbRecordText text(_Magic);
    for (const zbHashDiczbRTViewElementStat* elements : _Frameworks.Values())
        for (const zbRTViewElementStat* element : elements->Values())
            if (!text.AppendRecord(*element, zbRTViewElement::MaxRecordLength))
                break;
    return text.Release(oLength);
}

int zbRTViewDataStat::Write(const zbNewString& iPath)
{
    unsigned int length = 0;
    char* buffer = _FillBuffer(length);
    if (!buffer)
        return zbReportSystemError(iPath.CastToCharPtr(), ENOMEM);
    int result = zbRecordText::Write(iPath.CastToCharPtr(), buffer, length);
    std::free(buffer);
    return result;
}

int zbRTViewDataStat::Print(zbOFStream& ioStream) const
{
    unsigned int length = 0;
    char* buffer = _FillBuffer(length);
    if (!buffer)
        return 1;
    int result = ioStream.Write(buffer, length) != 0 ? 1 : 0;
    std::free(buffer);
    return result;
}

void zbRTViewDataStat::PrintStats(zbOFStream& ioStream) const
{
    ioStream << "\n## zbRTViewDataStat: Statistics of zbRTViewElementStat dictionaries:\n";
    for (const zbHashDiczbRTViewElementStat* elements : _Frameworks.Values())
        zbHashDicoPrintStats(*elements, ioStream);
    zbHashDicoPrintStats(_Frameworks, ioStream);
}

zbHashDiczbRTViewElementStat*
zbRTViewDataStat::GetListOfElementsForFramework(const zbNewString& iFramework) const
{
    return static_cast<zbHashDiczbRTViewElementStat*>(_Frameworks.Locate(iFramework));
}

template <class L>
void zbRTViewDataStat::_Append(const zbNewString& iFramework, int iTypeMask, int iExposureMask,
                               L& ioList) const
{
    const zbHashDiczbRTViewElementStat* elements = GetListOfElementsForFramework(iFramework);
    if (!elements)
        return;
    for (zbRTViewElementStat* element : elements->Values())
        if (element->_Type->MatchId(iTypeMask) && element->_Exposure->MatchId(iExposureMask))
            ioList.Append(element);
}

void zbRTViewDataStat::GetListOfElementsForFramework(const zbNewString& iFramework,
                                                     const zbRTViewElementType& iType,
                                                     const zbRTViewElementExposure& iExposure,
                                                     QORListPtrzbRTViewElementStat& ioList) const
{
    _Append(iFramework, iType.GetId(), iExposure.GetId(), ioList);
}

void zbRTViewDataStat::GetListOfElementsForFramework(const zbNewString& iFramework,
                                                     const int& iTypeMask, const int& iExposureMask,
                                                     QORListPtrzbRTViewElementStat& ioList) const
{
    _Append(iFramework, iTypeMask, iExposureMask, ioList);
}

void zbRTViewDataStat::GetListOfElementsForFramework(const zbNewString& iFramework,
                                                     const zbRTViewElementType& iType,
                                                     const zbRTViewElementExposure& iExposure,
                                                     QORListPtrzbRTViewElement& ioList) const
{
    _Append(iFramework, iType.GetId(), iExposure.GetId(), ioList);
}

void zbRTViewDataStat::GetListOfElementsForFramework(const zbNewString& iFramework,
                                                     const int& iTypeMask, const int& iExposureMask,
                                                     QORListPtrzbRTViewElement& ioList) const
{
    _Append(iFramework, iTypeMask, iExposureMask, ioList);
}
