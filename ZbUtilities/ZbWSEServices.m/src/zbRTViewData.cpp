#include "zbRTViewData.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "zbDescriptor.h"
#include "zbDirectories.h"
#include "zbFileLines.h"
#include "zbFileName.h"
#include "zbFileOperations.h"
#include "zbOFStream.h"
#include "zbPathSeparators.h"
#include "zbRecordText.h"
#include "zbReport.h"

namespace
{
// Every value of a dictionary, in its order.
template <class F> void ForEach(const zbHashDiczbRTViewElement& iElements, F iDo)
{
    int bucket = 1, position = 0;
    while (void* value = iElements.Next(bucket, position))
        iDo(*static_cast<zbRTViewElement*>(value));
}
} // namespace

zbRTViewData::zbRTViewData(const unsigned int iDimension)
    : _Dimension(iDimension), _Elements(static_cast<int>(iDimension))
{
}

zbRTViewData::~zbRTViewData()
{
    _Elements.ApplyDelete();
}

int zbRTViewData::_Merge(const zbRTViewElement& iElement, bool iReport)
{
    zbRTViewElement* stored = Locate(iElement._Name);
    if (!stored)
    {
        _Elements.Insert(iElement._Name, new zbRTViewElement(iElement));
        return 1;
    }
    if (zbRTViewElement::Supersedes(iElement, *stored, iReport))
        *stored = iElement;
    return 0;
}

int zbRTViewData::Read(const QORString& iPath, const PathModification& iMode)
{
    return zbForEachRecord(iPath.CastToCharPtr(), _Magic, 0, iMode,
                           [&](const char* iRecord, unsigned int iLength)
                           { _Merge(zbRTViewElement(iRecord, iLength), true); });
}

void zbRTViewData::_FillBuffer(char*& oBuffer, unsigned int& oLength) const
{
    zbRecordText text(_Magic);
    ForEach(_Elements, [&](const zbRTViewElement& iElement)
            { text.AppendRecord(iElement, zbRTViewElement::MaxRecordLength); });
    oBuffer = text.Release(oLength);
}

int zbRTViewData::_Print(const QORString& iPath, const char* iBuffer,
                         const unsigned int& iLength) const
{
    if (!iBuffer || iLength == 0)
        return 1;
    return zbRecordText::Write(iPath.CastToCharPtr(), iBuffer, iLength);
}

int zbRTViewData::Write(const QORString& iPath)
{
    char* buffer = nullptr;
    unsigned int length = 0;
    _FillBuffer(buffer, length);
    if (!buffer)
        return zbReportSystemError(iPath.CastToCharPtr(), ENOMEM);
    int result = _Print(iPath, buffer, length);
    std::free(buffer);
    return result;
}

int zbRTViewData::WriteIfChanged(const QORString& iPath, int& oChanged)
{
    oChanged = 0;
    char* buffer = nullptr;
    unsigned int length = 0;
    _FillBuffer(buffer, length);
    if (!buffer)
        return zbReportSystemError(iPath.CastToCharPtr(), ENOMEM);
    int result = 0;
    if (zbCompareFileWithBuffer(iPath.CastToCharPtr(), 4, buffer, length) != 0)
    {
        oChanged = 1;
        result = _Print(iPath, buffer, length);
    }
    std::free(buffer);
    return result;
}

int zbRTViewData::Insert(const zbRTViewElement& iElement, const DuplicateBehaviour& iBehaviour)
{
    return _Merge(iElement, iBehaviour != MergeSilently);
}

int zbRTViewData::Insert(const zbRTViewData& iOther, const DuplicateBehaviour& iBehaviour)
{
    int added = 0;
    ForEach(iOther._Elements,
            [&](const zbRTViewElement& iElement) { added += Insert(iElement, iBehaviour); });
    return added;
}

zbRTViewElement* zbRTViewData::Locate(const zbNewString& iName) const
{
    return static_cast<zbRTViewElement*>(_Elements.Locate(iName));
}

int zbRTViewData::Remove(const zbNewString& iName)
{
    zbRTViewElement* element = static_cast<zbRTViewElement*>(_Elements.Remove(iName));
    delete element;
    return element ? 1 : 0;
}

int zbRTViewData::Remove(const int iTypeMask, const int iExposureMask)
{
    QORListPtrzbRTViewElement matching;
    GetListOf(iTypeMask, iExposureMask, matching);
    for (zbRTViewElement* element : matching)
    {
        _Elements.Remove(element->_Name);
        delete element;
    }
    return matching.Size();
}

void zbRTViewData::RemoveAll()
{
    _Elements.ApplyDelete();
}

void zbRTViewData::GetListOfElements(QORListPtrzbRTViewElement& ioList) const
{
    ForEach(_Elements, [&](zbRTViewElement& iElement) { ioList.Append(&iElement); });
}

void zbRTViewData::GetListOf(const zbRTViewElementType& iType,
                             const zbRTViewElementExposure& iExposure,
                             QORListPtrzbRTViewElement& ioList) const
{
    GetListOf(iType.GetId(), iExposure.GetId(), ioList);
}

void zbRTViewData::GetListOf(const int iTypeMask, const int iExposureMask,
                             QORListPtrzbRTViewElement& ioList) const
{
    ForEach(_Elements,
            [&](zbRTViewElement& iElement)
            {
                if (iElement._Type->MatchId(iTypeMask) &&
                    iElement._Exposure->MatchId(iExposureMask))
                    ioList.Append(&iElement);
            });
}

void zbRTViewData::PrintStats(zbOFStream& ioStream) const
{
    ioStream << "\n## zbRTViewData: Statistics of zbRTViewElement dictionary:\n";
    zbHashDicoPrintStats(_Elements, ioStream);
}

void zbRTViewData::Dump(zbOFStream& ioStream) const
{
    char* buffer = nullptr;
    unsigned int length = 0;
    _FillBuffer(buffer, length);
    if (buffer)
        ioStream.Write(buffer, length);
    std::free(buffer);
}
