#ifndef QORHashTable_H
#define QORHashTable_H
// Hash table of bare pointers with caller-supplied hash and compare functions.
//
// The bucket count is fixed at construction.  The compare function returns 0
// when two elements are equal.  The table never owns its elements unless the
// owner calls ApplyDelete on a typed table.

#include <cstddef>
#include <vector>

class QORHashTable
{
  public:
    using HashFunction = unsigned int (*)(void* iElement);
    using CompareFunction = int (*)(void* iA, void* iB);

    QORHashTable(int iDimension, HashFunction iHash, CompareFunction iCompare);
    virtual ~QORHashTable();

    // 0 when stored; 1 when an equal element is already present or the element is null.
    int Insert(void* iElement);
    // The stored element equal to iElement, or null.
    void* Locate(void* iElement) const;
    // Removes and returns the stored element equal to iElement, or null.
    void* Remove(void* iElement);
    void RemoveAll();
    // Iteration by bucket and position (start at bucket 1, position 0).
    void* Next(int& ioBucket, int& ioPosition) const;

    int GetDimension() const { return static_cast<int>(_Buckets.size()); }
    int GetNbItems() const { return _NbItems; }
    int GetNbFreeBuckets() const { return _NbFreeBuckets; }

    // Range access for C++ loops: each element, in iteration order (the
    // table holds no null element: null is the end).
    template <class T> class Iterator
    {
      public:
        explicit Iterator(const QORHashTable* iTable) : _Table(iTable) { Advance(); }
        T* operator*() const { return _Current; }
        Iterator& operator++()
        {
            Advance();
            return *this;
        }
        bool operator==(const Iterator& iOther) const { return _Current == iOther._Current; }
        bool operator!=(const Iterator& iOther) const { return _Current != iOther._Current; }

      private:
        void Advance()
        {
            _Current = _Table ? static_cast<T*>(_Table->Next(_Bucket, _Position)) : nullptr;
        }

        const QORHashTable* _Table;
        int _Bucket = 1;
        int _Position = 0;
        T* _Current = nullptr;
    };
    Iterator<void> begin() const { return Iterator<void>(this); }
    Iterator<void> end() const { return Iterator<void>(nullptr); }

  protected:
    explicit QORHashTable(int iDimension);
    virtual unsigned int HashOf(void* iElement) const { return _Hash(iElement); }
    virtual int CompareOf(void* iA, void* iB) const { return _Compare(iA, iB); }

  private:
    std::vector<std::vector<void*>> _Buckets;
    HashFunction _Hash = nullptr;
    CompareFunction _Compare = nullptr;
    int _NbItems = 0;
    int _NbFreeBuckets;
};

// Typed table over QORHashTable, with typed functions:
//   using QORHashTabQORString = QORHashTab<QORString>;
template <class T> class QORHashTab : public QORHashTable
{
  public:
    using TypedHash = unsigned int (*)(T* iElement);
    using TypedCompare = int (*)(T* iA, T* iB);

    QORHashTab(int iDimension, TypedHash iHash, TypedCompare iCompare)
        : QORHashTable(iDimension), _TypedHash(iHash), _TypedCompare(iCompare)
    {
    }
    int Insert(T* iElement) { return QORHashTable::Insert(iElement); }
    T* Locate(T* iElement) const { return static_cast<T*>(QORHashTable::Locate(iElement)); }
    T* Remove(T* iElement) { return static_cast<T*>(QORHashTable::Remove(iElement)); }
    T* Next(int& ioBucket, int& ioPosition) const
    {
        return static_cast<T*>(QORHashTable::Next(ioBucket, ioPosition));
    }
    Iterator<T> begin() const { return Iterator<T>(this); }
    Iterator<T> end() const { return Iterator<T>(nullptr); }

    // Deletes every element and empties the table.
    void ApplyDelete()
    {
        for (T* element : *this)
            delete element;
        RemoveAll();
    }

  protected:
    unsigned int HashOf(void* iElement) const override
    {
        return _TypedHash(static_cast<T*>(iElement));
    }
    int CompareOf(void* iA, void* iB) const override
    {
        return _TypedCompare(static_cast<T*>(iA), static_cast<T*>(iB));
    }

  private:
    TypedHash _TypedHash;
    TypedCompare _TypedCompare;
};

#endif
