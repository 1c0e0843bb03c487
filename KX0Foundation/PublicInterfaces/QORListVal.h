#ifndef QORListVal_H
#define QORListVal_H
// Value list of the foundation: a growable array that copies its elements.
//
// Positions are 1-based: operator[] takes 1 to Size().  Locate answers the
// position of an element or 0.  A typed list is an alias of this template
// declared next to its element type (QORListValQORString ...).

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

template <class T> class QORListVal
{
  public:
    // Comparison for QuickSort and Compare: negative, 0 or positive.
    using CompareFunction = int (*)(const T* iA, const T* iB);

    explicit QORListVal(int iInitialCapacity = 0)
    {
        if (iInitialCapacity > 0)
            _Items.reserve(static_cast<size_t>(iInitialCapacity));
    }
    QORListVal(const QORListVal&) = default;
    QORListVal(QORListVal&&) noexcept = default;
    QORListVal& operator=(const QORListVal&) = default;
    QORListVal& operator=(QORListVal&&) noexcept = default;
    virtual ~QORListVal() = default;

    T& operator[](int iPos) { return _Items[static_cast<size_t>(iPos - 1)]; }
    const T& operator[](int iPos) const { return _Items[static_cast<size_t>(iPos - 1)]; }

    int Size() const { return static_cast<int>(_Items.size()); }
    // Grows with default values or truncates to iSize elements.
    void Size(int iSize) { _Items.resize(iSize > 0 ? static_cast<size_t>(iSize) : 0); }

    int Append(const T& iValue)
    {
        _Items.push_back(iValue);
        return Size();
    }
    int Append(T&& iValue)
    {
        _Items.push_back(std::move(iValue));
        return Size();
    }
    int Append(const QORListVal& iOther)
    {
        _Items.insert(_Items.end(), iOther._Items.begin(), iOther._Items.end());
        return Size();
    }
    // Inserts before position iPos (1 inserts first; Size()+1 appends).
    // Returns 0 when the position is outside 1..Size()+1.
    int InsertAt(int iPos, const T& iValue)
    {
        if (iPos < 1 || iPos > Size() + 1)
            return 0;
        _Items.insert(_Items.begin() + (iPos - 1), iValue);
        return iPos;
    }
    int Locate(const T& iValue, int iStart = 1) const
    {
        if (iStart < 1)
            iStart = 1;
        for (int i = iStart; i <= Size(); ++i)
            if (_Items[static_cast<size_t>(i - 1)] == iValue)
                return i;
        return 0;
    }
    int Swap(int iPos1, int iPos2)
    {
        if (iPos1 < 1 || iPos2 < 1 || iPos1 > Size() || iPos2 > Size())
            return 0;
        std::swap(_Items[static_cast<size_t>(iPos1 - 1)], _Items[static_cast<size_t>(iPos2 - 1)]);
        return 1;
    }
    void QuickSort(CompareFunction iCompare)
    {
        std::stable_sort(_Items.begin(), _Items.end(),
                         [iCompare](const T& a, const T& b) { return iCompare(&a, &b) < 0; });
    }
    // Element-wise comparison with a caller function; a shorter list that is
    // a prefix of the other compares lower.
    int Compare(const QORListVal& iOther, CompareFunction iCompare) const
    {
        size_t n = std::min(_Items.size(), iOther._Items.size());
        for (size_t i = 0; i < n; ++i)
        {
            int c = iCompare(&_Items[i], &iOther._Items[i]);
            if (c)
                return c < 0 ? -1 : 1;
        }
        if (_Items.size() == iOther._Items.size())
            return 0;
        return _Items.size() < iOther._Items.size() ? -1 : 1;
    }
    int RemovePosition(int iPos)
    {
        if (iPos < 1 || iPos > Size())
            return 0;
        _Items.erase(_Items.begin() + (iPos - 1));
        return 1;
    }
    // Removes every element equal to iValue; returns how many went.
    int RemoveValue(const T& iValue)
    {
        size_t before = _Items.size();
        _Items.erase(std::remove(_Items.begin(), _Items.end(), iValue), _Items.end());
        return static_cast<int>(before - _Items.size());
    }
    // Keeps the first occurrence of each value, in place; returns how many went.
    int RemoveDuplicates()
    {
        size_t before = _Items.size();
        std::vector<T> kept;
        kept.reserve(_Items.size());
        for (auto& item : _Items)
            if (std::find(kept.begin(), kept.end(), item) == kept.end())
                kept.push_back(std::move(item));
        _Items.swap(kept);
        return static_cast<int>(before - _Items.size());
    }
    // Keeps only the elements that also occur in iOther.
    int Intersection(const QORListVal& iOther)
    {
        size_t before = _Items.size();
        _Items.erase(std::remove_if(_Items.begin(), _Items.end(),
                                    [&iOther](const T& v) { return iOther.Locate(v) == 0; }),
                     _Items.end());
        return static_cast<int>(before - _Items.size());
    }
    void RemoveAll() { _Items.clear(); }

    bool operator==(const QORListVal& iOther) const { return _Items == iOther._Items; }
    bool operator!=(const QORListVal& iOther) const { return !(*this == iOther); }

    // Range access for C++ loops.
    typename std::vector<T>::iterator begin() { return _Items.begin(); }
    typename std::vector<T>::iterator end() { return _Items.end(); }
    typename std::vector<T>::const_iterator begin() const { return _Items.begin(); }
    typename std::vector<T>::const_iterator end() const { return _Items.end(); }

  private:
    std::vector<T> _Items;
};

#endif
