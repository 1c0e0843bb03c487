#ifndef QORRawCollPV_H
#define QORRawCollPV_H
// Raw list of untyped pointers, base of every pointer list.
//
// Positions are 1-based (1 to Size()).  The list never owns what it points
// to: removing an entry only forgets the pointer.

#include <algorithm>
#include <cstddef>
#include <vector>

class QORRawCollPV
{
  public:
    using CompareFunction = int (*)(const void* iA, const void* iB);

    explicit QORRawCollPV(int iInitialCapacity = 0);
    QORRawCollPV(void* const* iArray, int iCount);
    QORRawCollPV(const QORRawCollPV&) = default;
    QORRawCollPV& operator=(const QORRawCollPV&) = default;
    virtual ~QORRawCollPV();

    void*& operator[](int iPos) { return _Items[static_cast<size_t>(iPos - 1)]; }
    void* operator[](int iPos) const { return _Items[static_cast<size_t>(iPos - 1)]; }

    int Size() const { return static_cast<int>(_Items.size()); }
    // Grows with null entries or truncates.
    void Size(int iSize);
    int Append(void* iPointer);
    int Append(const QORRawCollPV& iOther);
    // Inserts before iPos (1..Size()+1); 0 for a position outside.
    int InsertAt(int iPos, void* iPointer);
    // Position of the first entry equal to iPointer at or after iStart, or 0.
    int Locate(const void* iPointer, int iStart = 1) const;
    int Swap(int iPos1, int iPos2);
    void QuickSort(CompareFunction iCompare);
    int Compare(const QORRawCollPV& iOther, CompareFunction iCompare) const;
    int RemovePosition(int iPos);
    int RemoveValue(const void* iPointer);
    int RemoveNulls();
    // Keeps the first occurrence of each pointer.
    int RemoveDuplicates();
    void RemoveAll() { _Items.clear(); }

    bool operator==(const QORRawCollPV& iOther) const { return _Items == iOther._Items; }
    bool operator!=(const QORRawCollPV& iOther) const { return _Items != iOther._Items; }

  protected:
    // Stable sort and element-wise comparison with any callable taking two
    // untyped entries; the typed lists call them with typed adapters.
    template <class F> void SortBy(F iCompare)
    {
        std::stable_sort(_Items.begin(), _Items.end(),
                         [&iCompare](void* a, void* b) { return iCompare(a, b) < 0; });
    }
    template <class F> int CompareBy(const QORRawCollPV& iOther, F iCompare) const
    {
        size_t n = std::min(_Items.size(), iOther._Items.size());
        for (size_t i = 0; i < n; ++i)
        {
            int c = iCompare(_Items[i], iOther._Items[i]);
            if (c)
                return c < 0 ? -1 : 1;
        }
        if (_Items.size() == iOther._Items.size())
            return 0;
        return _Items.size() < iOther._Items.size() ? -1 : 1;
    }

    std::vector<void*> _Items;
};

#endif
