#ifndef QORListPtr_H
#define QORListPtr_H
// Typed pointer list: a thin typed layer over QORRawCollPV.
//
// The list stores pointers it does not own.  Positions are 1-based.  A typed
// list is an alias declared next to its element type:
//   using QORListPtrzbFileName = QORListPtr<zbFileName>;

#include "QORRawCollPV.h"

template <class T> class QORListPtr : public QORRawCollPV
{
  public:
    // Comparison of two elements (either may be null).
    using CompareFunction = int (*)(const T* iA, const T* iB);

    explicit QORListPtr(int iInitialCapacity = 0) : QORRawCollPV(iInitialCapacity) {}

    T*& operator[](int iPos) { return reinterpret_cast<T*&>(QORRawCollPV::operator[](iPos)); }
    T* operator[](int iPos) const { return static_cast<T*>(QORRawCollPV::operator[](iPos)); }

    int Append(T* iPointer) { return QORRawCollPV::Append(static_cast<void*>(iPointer)); }
    int Append(const QORListPtr& iOther) { return QORRawCollPV::Append(iOther); }
    int InsertAt(int iPos, T* iPointer) { return QORRawCollPV::InsertAt(iPos, iPointer); }
    int Locate(const T* iPointer, int iStart = 1) const
    {
        return QORRawCollPV::Locate(iPointer, iStart);
    }
    int RemoveValue(const T* iPointer) { return QORRawCollPV::RemoveValue(iPointer); }
    void QuickSort(CompareFunction iCompare)
    {
        SortBy([iCompare](void* a, void* b)
               { return iCompare(static_cast<const T*>(a), static_cast<const T*>(b)); });
    }
    int Compare(const QORListPtr& iOther, CompareFunction iCompare) const
    {
        return CompareBy(iOther, [iCompare](void* a, void* b)
                         { return iCompare(static_cast<const T*>(a), static_cast<const T*>(b)); });
    }
    // For lists that own their elements: drops repeated pointers, then
    // deletes every element equal (iEqual) to an earlier one; the first
    // occurrence of each stays in place.  Returns the new size.
    template <class Equal> int DeleteDuplicates(Equal iEqual)
    {
        RemoveDuplicates();
        for (int i = 1; i <= Size(); ++i)
        {
            T* kept = (*this)[i];
            if (!kept)
                continue;
            for (int j = i + 1; j <= Size(); ++j)
                if ((*this)[j] && iEqual(*(*this)[j], *kept))
                {
                    delete (*this)[j];
                    (*this)[j] = nullptr;
                }
        }
        RemoveNulls();
        return Size();
    }
    // Orders two elements with nulls first, others by iCompare.
    template <class Compare>
    static int CompareNullsFirst(const T* iA, const T* iB, Compare iCompare)
    {
        if (!iA || !iB)
            return (iA != nullptr) - (iB != nullptr);
        return iCompare(*iA, *iB);
    }

    // Range-for over the stored pointers, in list order.
    class const_iterator
    {
      public:
        explicit const_iterator(std::vector<void*>::const_iterator iIt) : _It(iIt) {}
        T* operator*() const { return static_cast<T*>(*_It); }
        const_iterator& operator++()
        {
            ++_It;
            return *this;
        }
        bool operator!=(const const_iterator& iOther) const { return _It != iOther._It; }
        bool operator==(const const_iterator& iOther) const { return _It == iOther._It; }

      private:
        std::vector<void*>::const_iterator _It;
    };
    const_iterator begin() const { return const_iterator(_Items.begin()); }
    const_iterator end() const { return const_iterator(_Items.end()); }

    // Deletes every element and empties the list (for lists that are used as owners).
    void ApplyDelete()
    {
        for (T* element : *this)
            delete element;
        RemoveAll();
    }
};

#endif
