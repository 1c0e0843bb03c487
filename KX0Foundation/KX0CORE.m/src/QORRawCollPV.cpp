#include "QORRawCollPV.h"

#include <unordered_set>

QORRawCollPV::QORRawCollPV(int iInitialCapacity)
{
    if (iInitialCapacity > 0)
        _Items.reserve(static_cast<size_t>(iInitialCapacity));
}

QORRawCollPV::QORRawCollPV(void* const* iArray, int iCount)
{
    if (iArray && iCount > 0)
        _Items.assign(iArray, iArray + iCount);
}

QORRawCollPV::~QORRawCollPV() = default;

void QORRawCollPV::Size(int iSize)
{
    _Items.resize(iSize > 0 ? static_cast<size_t>(iSize) : 0, nullptr);
}

int QORRawCollPV::Append(void* iPointer)
{
    _Items.push_back(iPointer);
    return Size();
}

int QORRawCollPV::Append(const QORRawCollPV& iOther)
{
    _Items.insert(_Items.end(), iOther._Items.begin(), iOther._Items.end());
    return Size();
}

int QORRawCollPV::InsertAt(int iPos, void* iPointer)
{
    if (iPos < 1 || iPos > Size() + 1)
        return 0;
    _Items.insert(_Items.begin() + (iPos - 1), iPointer);
    return iPos;
}

int QORRawCollPV::Locate(const void* iPointer, int iStart) const
{
    if (iStart < 1)
        iStart = 1;
    for (int i = iStart; i <= Size(); ++i)
        if (_Items[static_cast<size_t>(i - 1)] == iPointer)
            return i;
    return 0;
}

int QORRawCollPV::Swap(int iPos1, int iPos2)
{
    if (iPos1 < 1 || iPos2 < 1 || iPos1 > Size() || iPos2 > Size())
        return 0;
    std::swap(_Items[static_cast<size_t>(iPos1 - 1)], _Items[static_cast<size_t>(iPos2 - 1)]);
    return 1;
}

void QORRawCollPV::QuickSort(CompareFunction iCompare)
{
    SortBy(iCompare);
}

int QORRawCollPV::Compare(const QORRawCollPV& iOther, CompareFunction iCompare) const
{
    return CompareBy(iOther, iCompare);
}

int QORRawCollPV::RemovePosition(int iPos)
{
    if (iPos < 1 || iPos > Size())
        return 0;
    _Items.erase(_Items.begin() + (iPos - 1));
    return 1;
}

int QORRawCollPV::RemoveValue(const void* iPointer)
{
    size_t before = _Items.size();
    _Items.erase(std::remove(_Items.begin(), _Items.end(), iPointer), _Items.end());
    return static_cast<int>(before - _Items.size());
}

int QORRawCollPV::RemoveNulls()
{
    return RemoveValue(nullptr);
}

int QORRawCollPV::RemoveDuplicates()
{
    size_t before = _Items.size();
    std::vector<void*> kept;
    std::unordered_set<void*> seen;
    kept.reserve(_Items.size());
    for (void* item : _Items)
        if (seen.insert(item).second)
            kept.push_back(item);
    _Items.swap(kept);
    return static_cast<int>(before - _Items.size());
}
