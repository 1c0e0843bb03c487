#ifndef QORHashDicoS_H
#define QORHashDicoS_H
// Hash dictionaries of the foundation: key -> untyped pointer.
//
// The bucket count is fixed at construction.  Each bucket holds its elements
// in insertion order.  Places handed out by the interface are 1-based: bucket
// b (1 to GetDimension()) and position p within the bucket (1 to the bucket's
// size).  Iteration walks the buckets in ascending order and each bucket by
// position; an iteration starts at bucket 1, position 0 (before the first
// element).  The dictionary owns copies of the keys, never the values.
//
//   QORHashDicoS  key QORString
//   QORHashDico   key QORUnicodeString
//   QORHashDicS<T> (QORHashDicS.h) typed values over QORHashDicoS

#include <vector>

#include "QORString.h"
#include "QORUnicodeString.h"

template <class K> class QORHashDicoBase
{
  public:
    explicit QORHashDicoBase(int iDimension)
        : _Buckets(static_cast<size_t>(iDimension > 0 ? iDimension : 1)),
          _NbFreeBuckets(iDimension > 0 ? iDimension : 1)
    {
    }
    QORHashDicoBase(const QORHashDicoBase&) = default;
    QORHashDicoBase& operator=(const QORHashDicoBase&) = default;
    virtual ~QORHashDicoBase() = default;

    // 0 when stored; 1 when the key is already present (nothing changes).
    int Insert(const K& iKey, void* iValue)
    {
        unsigned int hash = iKey.ComputeHashKey();
        Bucket& bucket = _Buckets[hash % _Buckets.size()];
        for (const Elem& e : bucket)
            if (e._Hash == hash && e._Key == iKey)
                return 1;
        if (bucket.empty())
            --_NbFreeBuckets;
        bucket.push_back(Elem{iKey, hash, iValue});
        ++_NbItems;
        return 0;
    }

    void* Locate(const K& iKey) const
    {
        int b, p;
        return LocatePosition(iKey, b, p);
    }

    // Sets oBucket to the key's bucket always, oPosition to the element's
    // position (0 when absent); returns the value or null.
    void* LocatePosition(const K& iKey, int& oBucket, int& oPosition) const
    {
        unsigned int hash = iKey.ComputeHashKey();
        size_t b = hash % _Buckets.size();
        oBucket = static_cast<int>(b) + 1;
        oPosition = 0;
        const Bucket& bucket = _Buckets[b];
        for (size_t i = 0; i < bucket.size(); ++i)
            if (bucket[i]._Hash == hash && bucket[i]._Key == iKey)
            {
                oPosition = static_cast<int>(i) + 1;
                return bucket[i]._Value;
            }
        return nullptr;
    }

    // Value at (iBucket, iPosition), or null; copies the key out when asked.
    void* Retrieve(int iBucket, int iPosition, K* oKey = nullptr) const
    {
        if (iBucket < 1 || iBucket > GetDimension())
            return nullptr;
        const Bucket& bucket = _Buckets[static_cast<size_t>(iBucket - 1)];
        if (iPosition < 1 || iPosition > static_cast<int>(bucket.size()))
            return nullptr;
        const Elem& e = bucket[static_cast<size_t>(iPosition - 1)];
        if (oKey)
            *oKey = e._Key;
        return e._Value;
    }

    // Advances (ioBucket, ioPosition) to the next element and returns its
    // value, or null at the end.  A bucket below 1 counts as 1.
    void* Next(int& ioBucket, int& ioPosition, K* oKey = nullptr) const
    {
        if (ioBucket < 1)
            ioBucket = 1, ioPosition = 0;
        if (ioPosition < 0)
            ioPosition = 0;
        while (ioBucket <= GetDimension())
        {
            const Bucket& bucket = _Buckets[static_cast<size_t>(ioBucket - 1)];
            if (ioPosition < static_cast<int>(bucket.size()))
            {
                const Elem& e = bucket[static_cast<size_t>(ioPosition)];
                ++ioPosition;
                if (oKey)
                    *oKey = e._Key;
                return e._Value;
            }
            ++ioBucket;
            ioPosition = 0;
        }
        return nullptr;
    }

    // Removes the key; returns its value or null when absent.
    void* Remove(const K& iKey)
    {
        int b, p;
        if (!LocatePosition(iKey, b, p))
            return nullptr;
        return RemovePosition(b, p);
    }

    void* RemovePosition(int iBucket, int iPosition, K* oKey = nullptr)
    {
        if (iBucket < 1 || iBucket > GetDimension())
            return nullptr;
        Bucket& bucket = _Buckets[static_cast<size_t>(iBucket - 1)];
        if (iPosition < 1 || iPosition > static_cast<int>(bucket.size()))
            return nullptr;
        auto it = bucket.begin() + (iPosition - 1);
        void* value = it->_Value;
        if (oKey)
            *oKey = it->_Key;
        bucket.erase(it);
        if (bucket.empty())
            ++_NbFreeBuckets;
        --_NbItems;
        return value;
    }

    void RemoveAll()
    {
        for (Bucket& bucket : _Buckets)
            Bucket().swap(bucket);
        _NbItems = 0;
        _NbFreeBuckets = GetDimension();
    }

    int GetDimension() const { return static_cast<int>(_Buckets.size()); }
    int GetNbItems() const { return _NbItems; }
    int GetNbFreeBuckets() const { return _NbFreeBuckets; }
    int IsEmpty() const { return _NbItems == 0 ? 1 : 0; }

  private:
    struct Elem
    {
        K _Key;
        unsigned int _Hash;
        void* _Value;
    };
    using Bucket = std::vector<Elem>;

    std::vector<Bucket> _Buckets;
    int _NbItems = 0;
    int _NbFreeBuckets;
};

using QORHashDicoS = QORHashDicoBase<QORString>;
using QORHashDico = QORHashDicoBase<QORUnicodeString>;

// Walks a dictionary element by element:
//   for (QORHashCodeIter it(dico); void* v = it.Next(); ) ...
template <class K> class QORHashCodeIterBase
{
  public:
    explicit QORHashCodeIterBase(const QORHashDicoBase<K>& iDico) : _Dico(&iDico) {}
    void Beginning() { _Bucket = 1, _Position = 0; }
    void* Next(K* oKey = nullptr) { return _Dico->Next(_Bucket, _Position, oKey); }
    int Bucket() const { return _Bucket; }
    int Position() const { return _Position; }

  private:
    const QORHashDicoBase<K>* _Dico;
    int _Bucket = 1;
    int _Position = 0;
};

using QORHashCodeIter = QORHashCodeIterBase<QORString>;

#endif
