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
// Insert answers 1 when it stored the pair, 0 when the key was there (as
// zbHashDico does).  A range-for loop walks the pairs in iteration order:
//   for (const auto& entry : dico)  ... entry._Key, entry._Value
// and Values() the values alone, without copying the keys out:
//   for (void* value : dico.Values()) ...
//
//   QORHashDicoS  key QORString
//   QORHashDico   key QORUnicodeString
//   QORHashDicS<T> (QORHashDicS.h) typed values over QORHashDicoS

#include <cstddef>
#include <cstring>

#include "QORDicoIterator.h"
#include "QORString.h"
#include "QORUnicodeString.h"

// The storage shared by the dictionaries, over keys given as bytes.
//
// Elements live one after the other in one arena: a 24-byte header (value,
// hash, key length, position in the bucket) followed by the key's bytes, so
// that comparing a key usually touches one cache line.  A bucket is the
// list of its elements' places in the arena, in insertion order (up to two
// kept inside the bucket itself).  Lookups do not go through the buckets:
// one open-addressing index over the whole dictionary maps the full hash to
// the element, so that long buckets cost nothing and an absent key usually
// costs one cache line.  Removed elements leave holes in the arena, taken
// back when they make up half of it.
class QORHashDicoCore
{
  public:
    struct Elem
    {
        void* _Value;
        unsigned int _Hash;
        unsigned int _Length;   // of the key, in bytes
        unsigned int _Position; // in the bucket, from 1
        unsigned int _Flags;    // NullKey
        const char* Key() const { return reinterpret_cast<const char*>(this + 1); }
    };
    enum
    {
        NullKey = 1,
        Removed = 2 // a hole in the arena
    };

    explicit QORHashDicoCore(int iDimension);
    QORHashDicoCore(const QORHashDicoCore& iOther);
    QORHashDicoCore& operator=(const QORHashDicoCore& iOther);
    ~QORHashDicoCore();

    const Elem* Find(const char* iKey, size_t iLength, unsigned int iHash) const
    {
        if (!_Index)
            return nullptr;
        const size_t mask = _IndexMask;
        for (size_t i = Home(iHash);; i = (i + 1) & mask)
        {
            const unsigned long long slot = _Index[i];
            if (!slot)
                return nullptr;
            if (static_cast<unsigned int>(slot >> 32) != iHash)
                continue;
            const Elem* e = ElemAt(static_cast<unsigned int>(slot) - 1);
            if (e->_Length == iLength && std::memcmp(e->Key(), iKey, iLength) == 0)
                return e;
        }
    }
    // 0 when stored; 1 when the key is already present (nothing changes).
    int Insert(const char* iKey, size_t iLength, unsigned int iHash, int iNullKey, void* iValue);
    // Room for iItems more elements whose keys total iKeyBytes: inserting
    // them grows neither the index nor the arena.
    void Reserve(size_t iItems, size_t iKeyBytes);

    // A run of lookups or inserts stalls on memory, one random line at a
    // time; these start loading what a later call with iHash reads, so that
    // keys hashed a few steps ahead arrive meanwhile.  The index slot first;
    // then, once that slot has arrived, the element it names.
    void PrefetchSlot(unsigned int iHash) const
    {
        if (_Index)
            Prefetch(&_Index[Home(iHash)]);
    }
    void PrefetchElem(unsigned int iHash) const
    {
        if (!_Index)
            return;
        // The slots of a probe usually share the line just loaded; the
        // element may run over into the next line.
        for (size_t i = Home(iHash), n = 0; n < 8; i = (i + 1) & _IndexMask, ++n)
        {
            const unsigned long long slot = _Index[i];
            if (!slot)
                return;
            if (static_cast<unsigned int>(slot >> 32) != iHash)
                continue;
            const char* at =
                reinterpret_cast<const char*>(ElemAt(static_cast<unsigned int>(slot) - 1));
            Prefetch(at);
            Prefetch(at + 63);
            return;
        }
    }
    // An insert also writes its bucket.
    void PrefetchBucket(unsigned int iHash) const { Prefetch(&_Buckets[iHash % _Dimension]); }
    // A function whose only work is a prefetch counts as free of effects,
    // and the optimizer drops calls to it before they are inlined: the
    // empty volatile statement keeps them.
    static void Prefetch(const void* iAt)
    {
        __builtin_prefetch(iAt);
        __asm__ volatile("" : : "r"(iAt));
    }
    // The element at (iBucket, iPosition), or null outside the dictionary.
    const Elem* At(int iBucket, int iPosition) const
    {
        if (iBucket < 1 || iBucket > GetDimension())
            return nullptr;
        const Bucket& bucket = _Buckets[iBucket - 1];
        if (iPosition < 1 || iPosition > static_cast<int>(bucket._Size))
            return nullptr;
        return ElemAt(bucket.Refs()[iPosition - 1]);
    }
    // Advances (ioBucket, ioPosition) to the next element, or null at the end.
    const Elem* Next(int& ioBucket, int& ioPosition) const;
    // Calls iVisit(element, ahead) for each element in iteration order,
    // ahead being the value of an element a few places further (null near
    // the end of a bucket), for the visitor to load what it points to; the
    // dictionary must not change meanwhile.
    template <class F> void Walk(F&& iVisit) const
    {
        for (unsigned int b = 0; b < _Dimension; ++b)
        {
            const Bucket& bucket = _Buckets[b];
            const unsigned int* refs = bucket.Refs();
            const unsigned int size = bucket._Size;
            for (unsigned int p = 0; p < size; ++p)
            {
                // The elements a few places ahead and what their values
                // point to are loaded meanwhile.
                if (p + 16 < size)
                    __builtin_prefetch(ElemAt(refs[p + 16]));
                if (p + 10 < size)
                    __builtin_prefetch(ElemAt(refs[p + 10])->_Value);
                iVisit(*ElemAt(refs[p]), p + 5 < size ? ElemAt(refs[p + 5])->_Value : nullptr);
            }
        }
    }
    // Calls iVisit(element) for each element in the order of the arena:
    // the order of insertion, unless removals were taken back (then the
    // iteration order of that moment, followed by the insertions since).
    // Memory is read front to back; the dictionary must not change
    // meanwhile.
    template <class F> void WalkStored(F&& iVisit) const
    {
        for (size_t at = 0; _NbItems && at < _ArenaUsed;)
        {
            const Elem* e = ElemAt(static_cast<unsigned int>(at));
            at += Units(e->_Length);
            if (!(e->_Flags & Removed))
                iVisit(*e);
        }
    }
    // Removes the element at (iBucket, iPosition), which must exist.
    void RemoveAt(int iBucket, int iPosition);
    void RemoveAll();

    int GetDimension() const { return static_cast<int>(_Dimension); }
    int GetNbItems() const { return _NbItems; }
    int GetNbFreeBuckets() const { return _NbFreeBuckets; }

  private:
    // The places (arena offsets in 8-byte units) of a bucket's elements.
    struct Bucket
    {
        unsigned int _Size;
        unsigned int _Capacity; // 0 while the places fit in _Inline
        union
        {
            unsigned int _Inline[2];
            unsigned int* _Heap;
        };
        unsigned int* Refs() { return _Capacity ? _Heap : _Inline; }
        const unsigned int* Refs() const { return _Capacity ? _Heap : _Inline; }
    };

    const Elem* ElemAt(unsigned int iRef) const
    {
        return reinterpret_cast<const Elem*>(_Arena + iRef);
    }
    Elem* ElemAt(unsigned int iRef) { return reinterpret_cast<Elem*>(_Arena + iRef); }
    size_t Home(unsigned int iHash) const
    {
        return static_cast<size_t>((iHash * 0x9E3779B97F4A7C15ull) >> _IndexShift);
    }
    static size_t Units(size_t iLength) { return (sizeof(Elem) + iLength + 7) / 8; }
    // Index slots: hash << 32 | (place + 1); 0 is a free slot.
    void Place(unsigned int iHash, unsigned int iRef);
    void Unplace(unsigned int iHash, unsigned int iRef);
    void GrowIndex();
    // A new index of 2^iBits slots holding the entries of the old one.
    void Rehash(unsigned int iBits);
    void BuildIndex(unsigned int iBits);
    // Moves the live elements to a new arena, in iteration order.
    void Compact();
    void Release();

    unsigned long long* _Arena = nullptr;
    size_t _ArenaUsed = 0;     // in 8-byte units
    size_t _ArenaCapacity = 0; // in 8-byte units
    size_t _Garbage = 0;       // units of removed elements
    Bucket* _Buckets = nullptr;
    unsigned int _Dimension;
    unsigned long long* _Index = nullptr;
    size_t _IndexMask = 0;
    unsigned int _IndexShift = 64;
    int _NbItems = 0;
    int _NbFreeBuckets;
};

// How a key type shows its bytes and is rebuilt from them.
template <class K> struct QORHashKeyBytes;

template <> struct QORHashKeyBytes<QORString>
{
    static const char* Data(const QORString& iKey) { return iKey.Std().data(); }
    static size_t Size(const QORString& iKey) { return iKey.Std().size(); }
    static int IsNull(const QORString& iKey) { return iKey.IsNull(); }
    static void Assign(QORString& oKey, const QORHashDicoCore::Elem& iElem)
    {
        oKey.Reset();
        if (!(iElem._Flags & QORHashDicoCore::NullKey))
            oKey.Append(iElem.Key(), iElem._Length);
    }
};

template <> struct QORHashKeyBytes<QORUnicodeString>
{
    static const char* Data(const QORUnicodeString& iKey)
    {
        return reinterpret_cast<const char*>(iKey.Chars().data());
    }
    static size_t Size(const QORUnicodeString& iKey)
    {
        return iKey.Chars().size() * sizeof(QORUnicodeChar);
    }
    static int IsNull(const QORUnicodeString&) { return 0; }
    static void Assign(QORUnicodeString& oKey, const QORHashDicoCore::Elem& iElem)
    {
        oKey.Reset();
        for (size_t i = 0; i < iElem._Length; i += sizeof(QORUnicodeChar))
        {
            QORUnicodeChar c;
            std::memcpy(&c, iElem.Key() + i, sizeof c);
            oKey.Append(c);
        }
    }
};

template <class K> class QORHashDicoBase
{
    using Bytes = QORHashKeyBytes<K>;

  public:
    explicit QORHashDicoBase(int iDimension) : _Core(iDimension) {}
    QORHashDicoBase(const QORHashDicoBase&) = default;
    QORHashDicoBase& operator=(const QORHashDicoBase&) = default;
    virtual ~QORHashDicoBase() = default;

    // 1 when stored; 0 when the key is already present (nothing changes).
    // The same answer as zbHashDico::Insert.
    int Insert(const K& iKey, void* iValue)
    {
        return _Core.Insert(Bytes::Data(iKey), Bytes::Size(iKey), iKey.ComputeHashKey(),
                            Bytes::IsNull(iKey), iValue) == 0
                   ? 1
                   : 0;
    }

    void* Locate(const K& iKey) const
    {
        const QORHashDicoCore::Elem* e =
            _Core.Find(Bytes::Data(iKey), Bytes::Size(iKey), iKey.ComputeHashKey());
        return e ? e->_Value : nullptr;
    }

    // The same two with the key given as its bytes and its hash (the
    // key's ComputeHashKey): no key object is built for a lookup.
    int InsertBytes(const char* iKey, size_t iLength, unsigned int iHash, void* iValue)
    {
        return _Core.Insert(iKey, iLength, iHash, 0, iValue) == 0 ? 1 : 0;
    }
    void* LocateBytes(const char* iKey, size_t iLength, unsigned int iHash) const
    {
        const QORHashDicoCore::Elem* e = _Core.Find(iKey, iLength, iHash);
        return e ? e->_Value : nullptr;
    }
    // See QORHashDicoCore: room ahead, and loads started for a later call.
    void Reserve(size_t iItems, size_t iKeyBytes) { _Core.Reserve(iItems, iKeyBytes); }
    void PrefetchSlot(unsigned int iHash) const { _Core.PrefetchSlot(iHash); }
    void PrefetchElem(unsigned int iHash) const { _Core.PrefetchElem(iHash); }
    void PrefetchBucket(unsigned int iHash) const { _Core.PrefetchBucket(iHash); }

    // Sets oBucket to the key's bucket always, oPosition to the element's
    // position (0 when absent); returns the value or null.
    void* LocatePosition(const K& iKey, int& oBucket, int& oPosition) const
    {
        const unsigned int hash = iKey.ComputeHashKey();
        oBucket = static_cast<int>(hash % static_cast<unsigned int>(GetDimension())) + 1;
        const QORHashDicoCore::Elem* e = _Core.Find(Bytes::Data(iKey), Bytes::Size(iKey), hash);
        oPosition = e ? static_cast<int>(e->_Position) : 0;
        return e ? e->_Value : nullptr;
    }

    // Value at (iBucket, iPosition), or null; copies the key out when asked.
    void* Retrieve(int iBucket, int iPosition, K* oKey = nullptr) const
    {
        const QORHashDicoCore::Elem* e = _Core.At(iBucket, iPosition);
        if (!e)
            return nullptr;
        if (oKey)
            Bytes::Assign(*oKey, *e);
        return e->_Value;
    }

    // Advances (ioBucket, ioPosition) to the next element and returns its
    // value, or null at the end.  A bucket below 1 counts as 1.
    void* Next(int& ioBucket, int& ioPosition, K* oKey = nullptr) const
    {
        const QORHashDicoCore::Elem* e = _Core.Next(ioBucket, ioPosition);
        if (!e)
            return nullptr;
        if (oKey)
            Bytes::Assign(*oKey, *e);
        return e->_Value;
    }

    // Removes the key; returns its value or null (absent, or stored null).
    void* Remove(const K& iKey)
    {
        int b, p;
        void* value = LocatePosition(iKey, b, p);
        if (p > 0)
            _Core.RemoveAt(b, p);
        return value;
    }

    void* RemovePosition(int iBucket, int iPosition, K* oKey = nullptr)
    {
        const QORHashDicoCore::Elem* e = _Core.At(iBucket, iPosition);
        if (!e)
            return nullptr;
        if (oKey)
            Bytes::Assign(*oKey, *e);
        void* value = e->_Value;
        _Core.RemoveAt(iBucket, iPosition);
        return value;
    }

    void RemoveAll() { _Core.RemoveAll(); }

    int GetDimension() const { return _Core.GetDimension(); }
    int GetNbItems() const { return _Core.GetNbItems(); }
    int GetNbFreeBuckets() const { return _Core.GetNbFreeBuckets(); }
    int IsEmpty() const { return _Core.GetNbItems() == 0 ? 1 : 0; }

    // One step of the walk for the range adapters (null values included).
    bool WalkStep(int& ioBucket, int& ioPosition, K* oKey, void*& oValue) const
    {
        const QORHashDicoCore::Elem* e = _Core.Next(ioBucket, ioPosition);
        if (!e)
            return false;
        if (oKey)
            Bytes::Assign(*oKey, *e);
        oValue = e->_Value;
        return true;
    }
    // The same step showing the key's bytes where the dictionary keeps them
    // (valid until the dictionary changes) instead of copying them out.
    bool WalkBytes(int& ioBucket, int& ioPosition, const char*& oKey, size_t& oLength,
                   void*& oValue) const
    {
        const QORHashDicoCore::Elem* e = _Core.Next(ioBucket, ioPosition);
        if (!e)
            return false;
        oKey = e->Key();
        oLength = e->_Length;
        oValue = e->_Value;
        return true;
    }
    // Calls iVisit(key bytes, key length, value, ahead) for each element in
    // iteration order, faster than a walk by places; ahead is the value of
    // an element a few places further, or null (see QORHashDicoCore::Walk).
    // The dictionary must not change meanwhile.
    template <class F> void ForEachBytes(F&& iVisit) const
    {
        _Core.Walk(
            [&](const QORHashDicoCore::Elem& iElem, void* iAhead)
            { iVisit(iElem.Key(), static_cast<size_t>(iElem._Length), iElem._Value, iAhead); });
    }
    // Calls iVisit(key bytes, key length, value) for each element in the
    // order they are stored (see QORHashDicoCore::WalkStored), for work
    // whose result does not depend on the order.
    template <class F> void ForEachStored(F&& iVisit) const
    {
        _Core.WalkStored(
            [&](const QORHashDicoCore::Elem& iElem)
            { iVisit(iElem.Key(), static_cast<size_t>(iElem._Length), iElem._Value); });
    }
    template <class V> using Iterator = QORDicoIterator<QORHashDicoBase, K, V>;
    template <class V> using ValueRange = QORDicoValues<QORHashDicoBase, K, V>;

    Iterator<void> begin() const { return Iterator<void>(this, true); }
    Iterator<void> end() const { return Iterator<void>(nullptr, true); }
    ValueRange<void> Values() const { return ValueRange<void>(this); }

  private:
    QORHashDicoCore _Core;
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
