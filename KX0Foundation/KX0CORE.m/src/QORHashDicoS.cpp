#include "QORHashDicoS.h"

#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>

#include "QORFatalError.h"

namespace
{
const char kSource[] = "KX0Foundation/KX0CORE.m/src/QORHashDicoS.cpp";

void* Allocate(size_t iBytes)
{
    void* block = std::malloc(iBytes ? iBytes : 1);
    if (!block)
        QORFatalError("out of memory for a hash dictionary", kSource, __LINE__);
    return block;
}

void* Reallocate(void* ioBlock, size_t iBytes)
{
    void* block = std::realloc(ioBlock, iBytes ? iBytes : 1);
    if (!block)
        QORFatalError("out of memory for a hash dictionary", kSource, __LINE__);
    return block;
}

// Fresh memory from the system reads as one shared page of zeros until its
// first write, which faults each page in a second time: a block whose first
// touches are reads (a probe, a bucket's size) and that is about to be
// written all over gets its pages mapped writable at once, its content left
// as it is.  Older systems refuse the request: the pages then come one by
// one, as before.
#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif
void PopulateForWriting(void* iBlock, size_t iBytes)
{
    const uintptr_t page = 4096;
    const uintptr_t begin = (reinterpret_cast<uintptr_t>(iBlock) + page - 1) & ~(page - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(iBlock) + iBytes) & ~(page - 1);
    if (end > begin + 4 * page)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
}

// Index sizes: a power of two, at most 13/16 full.
inline bool IndexTooFull(size_t iItems, size_t iSlots)
{
    return iItems * 16 > iSlots * 13;
}
} // namespace

QORHashDicoCore::QORHashDicoCore(int iDimension)
    : _Dimension(static_cast<unsigned int>(iDimension > 0 ? iDimension : 1)),
      _NbFreeBuckets(static_cast<int>(_Dimension))
{
    // Zeroed memory from the system costs nothing until a bucket is used:
    // a large dictionary that stays small stays cheap.
    _Buckets = static_cast<Bucket*>(std::calloc(_Dimension, sizeof(Bucket)));
    if (!_Buckets)
        QORFatalError("out of memory for a hash dictionary", kSource, __LINE__);
}

QORHashDicoCore::QORHashDicoCore(const QORHashDicoCore& iOther)
    : _ArenaUsed(iOther._ArenaUsed), _ArenaCapacity(iOther._ArenaUsed), _Garbage(iOther._Garbage),
      _Dimension(iOther._Dimension), _IndexMask(iOther._IndexMask), _IndexShift(iOther._IndexShift),
      _NbItems(iOther._NbItems), _NbFreeBuckets(iOther._NbFreeBuckets)
{
    if (iOther._Arena)
    {
        _Arena = static_cast<unsigned long long*>(Allocate(_ArenaUsed * 8));
        std::memcpy(_Arena, iOther._Arena, _ArenaUsed * 8);
    }
    _Buckets = static_cast<Bucket*>(std::calloc(_Dimension, sizeof(Bucket)));
    if (!_Buckets)
        QORFatalError("out of memory for a hash dictionary", kSource, __LINE__);
    for (unsigned int b = 0; b < _Dimension; ++b)
    {
        const Bucket& from = iOther._Buckets[b];
        if (!from._Size)
            continue;
        Bucket& to = _Buckets[b];
        to = from;
        if (from._Capacity)
        {
            to._Capacity = from._Size;
            to._Heap = static_cast<unsigned int*>(Allocate(from._Size * sizeof(unsigned int)));
            std::memcpy(to._Heap, from._Heap, from._Size * sizeof(unsigned int));
        }
    }
    if (iOther._Index)
    {
        const size_t bytes = (_IndexMask + 1) * sizeof(unsigned long long);
        _Index = static_cast<unsigned long long*>(Allocate(bytes));
        std::memcpy(_Index, iOther._Index, bytes);
    }
}

QORHashDicoCore& QORHashDicoCore::operator=(const QORHashDicoCore& iOther)
{
    if (this == &iOther)
        return *this;
    QORHashDicoCore copy(iOther);
    std::swap(_Arena, copy._Arena);
    std::swap(_ArenaUsed, copy._ArenaUsed);
    std::swap(_ArenaCapacity, copy._ArenaCapacity);
    std::swap(_Garbage, copy._Garbage);
    std::swap(_Buckets, copy._Buckets);
    std::swap(_Dimension, copy._Dimension);
    std::swap(_Index, copy._Index);
    std::swap(_IndexMask, copy._IndexMask);
    std::swap(_IndexShift, copy._IndexShift);
    std::swap(_NbItems, copy._NbItems);
    std::swap(_NbFreeBuckets, copy._NbFreeBuckets);
    return *this;
}

QORHashDicoCore::~QORHashDicoCore()
{
    // Only the buckets' own blocks are left to free.  A bucket array not
    // much larger than the number of elements is read through in order,
    // cheaper than reaching each bucket from its elements at random.
    if (_NbItems && _Dimension <= 4u * static_cast<unsigned int>(_NbItems))
    {
        for (unsigned int b = 0; b < _Dimension; ++b)
            if (_Buckets[b]._Capacity)
                std::free(_Buckets[b]._Heap);
        std::free(_Arena);
        std::free(_Index);
    }
    else
        Release();
    std::free(_Buckets);
}

void QORHashDicoCore::Release()
{
    // The buckets in use are reached from the elements, freed and emptied:
    // the bucket array of a large dictionary holding little is neither
    // walked nor brought into memory.  (An element removed earlier may lead
    // to a bucket emptied already.)
    for (size_t at = 0; _NbItems && at < _ArenaUsed;)
    {
        const Elem* e = ElemAt(static_cast<unsigned int>(at));
        Bucket& bucket = _Buckets[e->_Hash % _Dimension];
        if (bucket._Capacity)
            std::free(bucket._Heap);
        bucket = Bucket();
        at += Units(e->_Length);
    }
    std::free(_Arena);
    std::free(_Index);
    _Arena = nullptr;
    _Index = nullptr;
    _ArenaUsed = _ArenaCapacity = _Garbage = 0;
    _IndexMask = 0;
    _IndexShift = 64;
}

void QORHashDicoCore::RemoveAll()
{
    Release();
    _NbItems = 0;
    _NbFreeBuckets = static_cast<int>(_Dimension);
}

int QORHashDicoCore::Insert(const char* iKey, size_t iLength, unsigned int iHash, int iNullKey,
                            void* iValue)
{
    // One probe: it ends on the key or on the free slot the key takes.
    size_t hole = 0;
    if (_Index)
        for (size_t i = Home(iHash);; i = (i + 1) & _IndexMask)
        {
            const unsigned long long slot = _Index[i];
            if (!slot)
            {
                hole = i;
                break;
            }
            if (static_cast<unsigned int>(slot >> 32) != iHash)
                continue;
            const Elem* e = ElemAt(static_cast<unsigned int>(slot) - 1);
            if (e->_Length == iLength && std::memcmp(e->Key(), iKey, iLength) == 0)
                return 1;
        }
    const bool grow = !_Index || IndexTooFull(static_cast<size_t>(_NbItems) + 1, _IndexMask + 1);
    if (grow)
        GrowIndex();

    const size_t units = Units(iLength);
    if (_ArenaUsed + units > _ArenaCapacity)
    {
        size_t capacity = _ArenaCapacity ? _ArenaCapacity * 2 : 256;
        while (capacity < _ArenaUsed + units)
            capacity *= 2;
        _Arena = static_cast<unsigned long long*>(Reallocate(_Arena, capacity * 8));
        _ArenaCapacity = capacity;
    }
    const unsigned int ref = static_cast<unsigned int>(_ArenaUsed);
    _ArenaUsed += units;
    Elem* e = ElemAt(ref);
    e->_Value = iValue;
    e->_Hash = iHash;
    e->_Length = static_cast<unsigned int>(iLength);
    e->_Flags = iNullKey ? NullKey : 0;
    if (iLength)
        std::memcpy(const_cast<char*>(e->Key()), iKey, iLength);

    Bucket& bucket = _Buckets[iHash % _Dimension];
    if (!bucket._Size)
        --_NbFreeBuckets;
    if (!bucket._Capacity && bucket._Size == 2)
    {
        unsigned int* heap = static_cast<unsigned int*>(Allocate(4 * sizeof(unsigned int)));
        heap[0] = bucket._Inline[0];
        heap[1] = bucket._Inline[1];
        bucket._Heap = heap;
        bucket._Capacity = 4;
    }
    else if (bucket._Capacity && bucket._Size == bucket._Capacity)
    {
        bucket._Capacity *= 2;
        bucket._Heap = static_cast<unsigned int*>(
            Reallocate(bucket._Heap, bucket._Capacity * sizeof(unsigned int)));
    }
    bucket.Refs()[bucket._Size++] = ref;
    e->_Position = bucket._Size;

    if (grow)
        Place(iHash, ref);
    else
        _Index[hole] = static_cast<unsigned long long>(iHash) << 32 | (ref + 1u);
    ++_NbItems;
    return 0;
}

void QORHashDicoCore::Reserve(size_t iItems, size_t iKeyBytes)
{
    const size_t items = static_cast<size_t>(_NbItems) + iItems;
    if (!_Index || IndexTooFull(items, _IndexMask + 1))
    {
        unsigned int bits = _Index ? 64 - _IndexShift : 4;
        while (IndexTooFull(items, size_t(1) << bits))
            ++bits;
        Rehash(bits);
    }
    // Enough elements to write on every page of the buckets.
    if (iItems * 16 >= _Dimension)
        PopulateForWriting(_Buckets, _Dimension * sizeof(Bucket));
    // Every element takes its header, its key and at most 7 bytes of padding.
    const size_t units = _ArenaUsed + (iItems * (sizeof(Elem) + 7) + iKeyBytes) / 8 + 1;
    if (units > _ArenaCapacity)
    {
        _Arena = static_cast<unsigned long long*>(Reallocate(_Arena, units * 8));
        _ArenaCapacity = units;
    }
}

const QORHashDicoCore::Elem* QORHashDicoCore::Next(int& ioBucket, int& ioPosition) const
{
    if (ioBucket < 1)
        ioBucket = 1, ioPosition = 0;
    if (ioPosition < 0)
        ioPosition = 0;
    while (ioBucket <= GetDimension())
    {
        const Bucket& bucket = _Buckets[ioBucket - 1];
        if (ioPosition < static_cast<int>(bucket._Size))
        {
            // An iteration usually goes on: the elements a few places ahead
            // and what their values point to are loaded meanwhile.
            const unsigned int* refs = bucket.Refs();
            if (static_cast<unsigned int>(ioPosition) + 8 < bucket._Size)
                __builtin_prefetch(ElemAt(refs[ioPosition + 8]));
            if (static_cast<unsigned int>(ioPosition) + 5 < bucket._Size)
                __builtin_prefetch(ElemAt(refs[ioPosition + 5])->_Value);
            return ElemAt(refs[ioPosition++]);
        }
        ++ioBucket;
        ioPosition = 0;
    }
    return nullptr;
}

void QORHashDicoCore::RemoveAt(int iBucket, int iPosition)
{
    Bucket& bucket = _Buckets[iBucket - 1];
    unsigned int* refs = bucket.Refs();
    const unsigned int ref = refs[iPosition - 1];
    Elem* e = ElemAt(ref);
    Unplace(e->_Hash, ref);
    e->_Value = nullptr;
    e->_Flags |= Removed;
    _Garbage += Units(e->_Length);

    const unsigned int size = --bucket._Size;
    for (unsigned int i = static_cast<unsigned int>(iPosition) - 1; i < size; ++i)
    {
        refs[i] = refs[i + 1];
        ElemAt(refs[i])->_Position = i + 1;
    }
    if (bucket._Capacity && size <= 2)
    {
        unsigned int* heap = bucket._Heap;
        bucket._Capacity = 0;
        bucket._Inline[0] = size > 0 ? heap[0] : 0;
        bucket._Inline[1] = size > 1 ? heap[1] : 0;
        std::free(heap);
    }
    if (!size)
        ++_NbFreeBuckets;
    --_NbItems;
    if (!_NbItems)
        _ArenaUsed = _Garbage = 0; // the buckets and the index are empty again
    else if (_Garbage > 4096 && _Garbage * 2 > _ArenaUsed)
        Compact();
}

void QORHashDicoCore::Place(unsigned int iHash, unsigned int iRef)
{
    size_t i = Home(iHash);
    while (_Index[i])
        i = (i + 1) & _IndexMask;
    _Index[i] = static_cast<unsigned long long>(iHash) << 32 | (iRef + 1u);
}

void QORHashDicoCore::Unplace(unsigned int iHash, unsigned int iRef)
{
    const unsigned long long wanted = static_cast<unsigned long long>(iHash) << 32 | (iRef + 1u);
    size_t i = Home(iHash);
    while (_Index[i] != wanted)
        i = (i + 1) & _IndexMask;
    // Backward shift: the slots after the hole that may move up do, so that
    // no probe sequence is cut.
    for (size_t j = (i + 1) & _IndexMask; _Index[j]; j = (j + 1) & _IndexMask)
    {
        const size_t home = Home(static_cast<unsigned int>(_Index[j] >> 32));
        // The entry at j stays when its home lies cyclically in (i, j].
        const bool stays = i <= j ? (i < home && home <= j) : (i < home || home <= j);
        if (stays)
            continue;
        _Index[i] = _Index[j];
        i = j;
    }
    _Index[i] = 0;
}

void QORHashDicoCore::BuildIndex(unsigned int iBits)
{
    std::free(_Index);
    const size_t slots = size_t(1) << iBits;
    _Index = static_cast<unsigned long long*>(std::calloc(slots, sizeof(unsigned long long)));
    if (!_Index)
        QORFatalError("out of memory for a hash dictionary", kSource, __LINE__);
    // An index is filled to a third at least, its first touches are probes.
    PopulateForWriting(_Index, slots * sizeof(unsigned long long));
    _IndexMask = slots - 1;
    _IndexShift = 64 - iBits;
}

void QORHashDicoCore::GrowIndex()
{
    unsigned int bits = _Index ? 64 - _IndexShift + 1 : 4;
    while (IndexTooFull(static_cast<size_t>(_NbItems) + 1, size_t(1) << bits))
        ++bits;
    Rehash(bits);
}

void QORHashDicoCore::Rehash(unsigned int iBits)
{
    unsigned long long* old = _Index;
    const size_t oldSlots = old ? _IndexMask + 1 : 0;
    _Index = nullptr;
    BuildIndex(iBits);
    for (size_t i = 0; i < oldSlots; ++i)
        if (old[i])
        {
            size_t j = Home(static_cast<unsigned int>(old[i] >> 32));
            while (_Index[j])
                j = (j + 1) & _IndexMask;
            _Index[j] = old[i];
        }
    std::free(old);
}

void QORHashDicoCore::Compact()
{
    const size_t capacity = _ArenaUsed - _Garbage;
    unsigned long long* arena = static_cast<unsigned long long*>(Allocate(capacity * 8));
    size_t used = 0;
    std::memset(_Index, 0, (_IndexMask + 1) * sizeof(unsigned long long));
    for (unsigned int b = 0; b < _Dimension; ++b)
    {
        Bucket& bucket = _Buckets[b];
        unsigned int* refs = bucket.Refs();
        for (unsigned int p = 0; p < bucket._Size; ++p)
        {
            const Elem* e = ElemAt(refs[p]);
            const size_t units = Units(e->_Length);
            std::memcpy(arena + used, e, units * 8);
            refs[p] = static_cast<unsigned int>(used);
            used += units;
        }
    }
    std::free(_Arena);
    _Arena = arena;
    _ArenaUsed = _ArenaCapacity = used;
    _Garbage = 0;
    for (unsigned int b = 0; b < _Dimension; ++b)
    {
        const Bucket& bucket = _Buckets[b];
        const unsigned int* refs = bucket.Refs();
        for (unsigned int p = 0; p < bucket._Size; ++p)
            Place(ElemAt(refs[p])->_Hash, refs[p]);
    }
}
