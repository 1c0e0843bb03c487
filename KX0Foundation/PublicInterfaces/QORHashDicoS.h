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

#include <utility>
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
        if (bucket.Find(iKey, hash) >= 0)
            return 1;
        if (bucket._Elems.empty())
            --_NbFreeBuckets;
        bucket.Append(Elem{iKey, hash, iValue});
        ++_NbItems;
        return 0;
    }

    void* Locate(const K& iKey) const
    {
        unsigned int hash = iKey.ComputeHashKey();
        const Bucket& bucket = _Buckets[hash % _Buckets.size()];
        int i = bucket.Find(iKey, hash);
        return i < 0 ? nullptr : bucket._Elems[static_cast<size_t>(i)]._Value;
    }

    // Sets oBucket to the key's bucket always, oPosition to the element's
    // position (0 when absent); returns the value or null.
    void* LocatePosition(const K& iKey, int& oBucket, int& oPosition) const
    {
        unsigned int hash = iKey.ComputeHashKey();
        size_t b = hash % _Buckets.size();
        oBucket = static_cast<int>(b) + 1;
        const Bucket& bucket = _Buckets[b];
        int i = bucket.Find(iKey, hash);
        oPosition = i + 1;
        return i < 0 ? nullptr : bucket._Elems[static_cast<size_t>(i)]._Value;
    }

    // Value at (iBucket, iPosition), or null; copies the key out when asked.
    void* Retrieve(int iBucket, int iPosition, K* oKey = nullptr) const
    {
        if (iBucket < 1 || iBucket > GetDimension())
            return nullptr;
        const Bucket& bucket = _Buckets[static_cast<size_t>(iBucket - 1)];
        if (iPosition < 1 || iPosition > static_cast<int>(bucket._Elems.size()))
            return nullptr;
        const Elem& e = bucket._Elems[static_cast<size_t>(iPosition - 1)];
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
            if (ioPosition < static_cast<int>(bucket._Elems.size()))
            {
                const Elem& e = bucket._Elems[static_cast<size_t>(ioPosition)];
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
        if (iPosition < 1 || iPosition > static_cast<int>(bucket._Elems.size()))
            return nullptr;
        auto it = bucket._Elems.begin() + (iPosition - 1);
        void* value = it->_Value;
        if (oKey)
            *oKey = it->_Key;
        bucket._Elems.erase(it);
        bucket.Reindex();
        if (bucket._Elems.empty())
            ++_NbFreeBuckets;
        --_NbItems;
        return value;
    }

    void RemoveAll()
    {
        for (Bucket& bucket : _Buckets)
            Bucket().Swap(bucket);
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

    // A bucket keeps its elements in insertion order (their positions).  A
    // short bucket is scanned comparing the stored hashes first; a long one
    // (a small dictionary holding many items) also keeps an open-addressing
    // index from hash to position, so that lookups stay constant-time
    // whatever the bucket count.
    struct Bucket
    {
        static const size_t IndexFrom = 8;

        std::vector<Elem> _Elems;
        // Slots: hash << 32 | position, 0 for a free slot (positions start at 1).
        std::vector<unsigned long long> _Index;
        unsigned int _Shift = 0; // 32 - log2(_Index.size())

        size_t Slot(unsigned int iHash) const
        {
            return static_cast<size_t>((iHash * 2654435769u) >> _Shift);
        }

        int Find(const K& iKey, unsigned int iHash) const
        {
            if (_Index.empty())
            {
                for (size_t i = 0; i < _Elems.size(); ++i)
                    if (_Elems[i]._Hash == iHash && _Elems[i]._Key == iKey)
                        return static_cast<int>(i);
                return -1;
            }
            const size_t mask = _Index.size() - 1;
            for (size_t slot = Slot(iHash);; slot = (slot + 1) & mask)
            {
                const unsigned long long v = _Index[slot];
                if (!v)
                    return -1;
                if (static_cast<unsigned int>(v >> 32) != iHash)
                    continue;
                const size_t p = static_cast<size_t>(v & 0xFFFFFFFFu) - 1;
                if (_Elems[p]._Key == iKey)
                    return static_cast<int>(p);
            }
        }

        void Append(Elem&& iElem)
        {
            _Elems.push_back(std::move(iElem));
            if (_Elems.size() <= IndexFrom)
                return;
            if (_Elems.size() * 2 > _Index.size())
                Reindex();
            else
                Place(static_cast<unsigned int>(_Elems.size()));
        }

        void Place(unsigned int iPosition)
        {
            const size_t mask = _Index.size() - 1;
            const unsigned int hash = _Elems[iPosition - 1]._Hash;
            size_t slot = Slot(hash);
            while (_Index[slot])
                slot = (slot + 1) & mask;
            _Index[slot] = static_cast<unsigned long long>(hash) << 32 | iPosition;
        }

        // Rebuilds the index after the positions changed or to grow it.
        void Reindex()
        {
            if (_Elems.size() <= IndexFrom)
            {
                std::vector<unsigned long long>().swap(_Index);
                return;
            }
            size_t size = 16;
            unsigned int bits = 4;
            while (size < _Elems.size() * 4)
                size <<= 1, ++bits;
            _Index.assign(size, 0);
            _Shift = 32 - bits;
            for (unsigned int p = 1; p <= _Elems.size(); ++p)
                Place(p);
        }

        void Swap(Bucket& ioOther)
        {
            _Elems.swap(ioOther._Elems);
            _Index.swap(ioOther._Index);
            std::swap(_Shift, ioOther._Shift);
        }
    };

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
