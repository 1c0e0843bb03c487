#include "zbHashDico.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "QORFatalError.h"
#include "zbOFStream.h"

namespace
{
const char* const kSource = "ZbUtilities/ZbWSEServices.m/src/zbHashDico";
const int kDimensionCheckLine = 16;

// Element slots start after the block's chaining word, padded for alignment.
const size_t kBlockHeader = 16;
const int kFirstBlockSlots = 8;
const int kMaxBlockSlots = 4096;
static_assert(alignof(zbHashDicoElem) <= kBlockHeader, "element alignment");
static_assert(sizeof(zbHashDicoElem) >= sizeof(void*), "free-list link");

inline bool SameKey(const zbHashDicoElem* iElem, const zbNewString& iKey)
{
    int length = iKey.GetLengthInByte();
    return iElem->_Key.GetLengthInByte() == length &&
           std::memcmp(iElem->_Key.CastToCharPtr(), iKey.CastToCharPtr(),
                       static_cast<size_t>(length)) == 0;
}

// A list bucket: one block holding the size, the capacity, the element
// pointers in position order, then a 32-bit tag of each element's key.
// Scanning the tags first keeps a long bucket to a few cache lines and
// touches only the elements whose tag matches.
struct ElemList
{
    int _Size;
    int _Capacity;
    zbHashDicoElem** Elems() { return reinterpret_cast<zbHashDicoElem**>(this + 1); }
    unsigned int* Tags() { return reinterpret_cast<unsigned int*>(Elems() + _Capacity); }
    zbHashDicoElem* At(int iPosition) { return Elems()[iPosition - 1]; }
};

inline ElemList* AsList(void* iWord)
{
    return static_cast<ElemList*>(iWord);
}
inline zbHashDicoElem* AsElem(void* iWord)
{
    return static_cast<zbHashDicoElem*>(iWord);
}

// A second, independent hash of the key (the bucket index already uses ComputeHashKey).
inline unsigned int KeyTag(const zbNewString& iKey)
{
    const char* p = iKey.CastToCharPtr();
    size_t n = static_cast<size_t>(iKey.GetLengthInByte());
    uint64_t h = n * 0x9E3779B97F4A7C15ull;
    for (; n >= 8; n -= 8, p += 8)
    {
        uint64_t w;
        std::memcpy(&w, p, 8);
        h = (h ^ w) * 0xff51afd7ed558ccdull;
        h ^= h >> 32;
    }
    if (n)
    {
        uint64_t w = 0;
        std::memcpy(&w, p, n);
        h = (h ^ w) * 0xff51afd7ed558ccdull;
        h ^= h >> 32;
    }
    return static_cast<unsigned int>(h);
}

ElemList* NewList(int iCapacity)
{
    size_t slot = sizeof(zbHashDicoElem*) + sizeof(unsigned int);
    ElemList* list = static_cast<ElemList*>(
        std::malloc(sizeof(ElemList) + static_cast<size_t>(iCapacity) * slot));
    if (!list)
        QORFatalError("AllocationFailed:zbHashDico list", kSource, __LINE__);
    list->_Size = 0;
    list->_Capacity = iCapacity;
    return list;
}

void Append(ElemList*& ioList, zbHashDicoElem* iElem, unsigned int iTag)
{
    ElemList* list = ioList;
    if (list->_Size == list->_Capacity)
    {
        ElemList* bigger = NewList(list->_Capacity * 2);
        size_t n = static_cast<size_t>(list->_Size);
        bigger->_Size = list->_Size;
        std::memcpy(bigger->Elems(), list->Elems(), n * sizeof(zbHashDicoElem*));
        std::memcpy(bigger->Tags(), list->Tags(), n * sizeof(unsigned int));
        std::free(list);
        ioList = list = bigger;
    }
    list->Elems()[list->_Size] = iElem;
    list->Tags()[list->_Size] = iTag;
    ++list->_Size;
}

void RemoveAt(ElemList* ioList, int iPosition)
{
    size_t after = static_cast<size_t>(ioList->_Size - iPosition);
    std::memmove(ioList->Elems() + iPosition - 1, ioList->Elems() + iPosition,
                 after * sizeof(zbHashDicoElem*));
    std::memmove(ioList->Tags() + iPosition - 1, ioList->Tags() + iPosition,
                 after * sizeof(unsigned int));
    --ioList->_Size;
}
} // namespace

zbHashDicoElem::~zbHashDicoElem() = default;

// zbHashCodeIter

void* zbHashCodeIter::Next()
{
    return _Dico ? _Dico->NextItem(_Bucket, _Position) : nullptr;
}

// zbHashCodeCollec

int zbHashCodeCollec::UpToNiceModulo(int iN)
{
    static const int kPrimes[] = {2, 3, 5, 7, 11, 13, 17, 19};
    if (iN < 1)
        return 1;
    // INT_MAX is prime, so the search always ends without overflow.
    for (int m = iN;; ++m)
    {
        bool nice = true;
        for (int p : kPrimes)
            if (p < m && m % p == 0)
            {
                nice = false;
                break;
            }
        if (nice)
            return m;
    }
}

// zbHashDico: construction and storage

zbHashDico::zbHashDico(int iDimension)
    : _Buckets(nullptr), _IsList(nullptr), _Dimension(0), _NbItems(0), _NbFreeBuckets(0)
{
    if (iDimension < 1)
        QORFatalError("AssertionFailed:iDimension > 0", kSource, kDimensionCheckLine);
    Allocate(zbHashCodeCollec::UpToNiceModulo(iDimension));
}

void zbHashDico::Allocate(int iDimension)
{
    // One zero-filled block: the bucket words, then the list flags.
    size_t count = static_cast<size_t>(iDimension);
    void* block = std::calloc(count, sizeof(void*) + 1);
    if (!block)
        QORFatalError("AllocationFailed:_Buckets", kSource, __LINE__);
    _Buckets = static_cast<void**>(block);
    _IsList = reinterpret_cast<unsigned char*>(_Buckets + count);
    _Dimension = iDimension;
    _NbItems = 0;
    _NbFreeBuckets = iDimension;
}

zbHashDico::zbHashDico(const zbHashDico& iOther)
    : _Buckets(nullptr), _IsList(nullptr), _Dimension(0), _NbItems(0), _NbFreeBuckets(0)
{
    Allocate(iOther._Dimension);
    for (int i = 0; i < _Dimension; ++i)
    {
        void* word = iOther._Buckets[i];
        if (!word)
            continue;
        if (!iOther._IsList[i])
            _Buckets[i] = NewElem(AsElem(word)->_Key, AsElem(word)->_Value);
        else
        {
            ElemList* from = AsList(word);
            ElemList* list = NewList(from->_Capacity);
            for (int p = 1; p <= from->_Size; ++p)
            {
                zbHashDicoElem* e = from->At(p);
                Append(list, NewElem(e->_Key, e->_Value), from->Tags()[p - 1]);
            }
            _Buckets[i] = list;
            _IsList[i] = 1;
        }
    }
    _NbItems = iOther._NbItems;
    _NbFreeBuckets = iOther._NbFreeBuckets;
}

zbHashDico& zbHashDico::operator=(const zbHashDico& iOther)
{
    if (this == &iOther)
        return *this;
    RemoveAll();
    for (const auto& entry : iOther)
        Insert(entry._Key, entry._Value);
    return *this;
}

zbHashDico::~zbHashDico()
{
    RemoveAll();
    std::free(_Buckets);
}

zbHashDicoElem* zbHashDico::NewElem(const zbNewString& iKey, void* iValue)
{
    void* slot = _Pool._Free;
    if (slot)
        _Pool._Free = *static_cast<void**>(slot);
    else
    {
        if (_Pool._Left == 0)
        {
            int slots = _Pool._NextBlockSize ? _Pool._NextBlockSize : kFirstBlockSlots;
            _Pool._NextBlockSize = slots < kMaxBlockSlots ? slots * 2 : kMaxBlockSlots;
            char* block = static_cast<char*>(
                std::malloc(kBlockHeader + static_cast<size_t>(slots) * sizeof(zbHashDicoElem)));
            if (!block)
                QORFatalError("AllocationFailed:zbHashDicoElem", kSource, __LINE__);
            *reinterpret_cast<void**>(block) = _Pool._Blocks;
            _Pool._Blocks = block;
            _Pool._Cursor = block + kBlockHeader;
            _Pool._Left = slots;
        }
        slot = _Pool._Cursor;
        _Pool._Cursor += sizeof(zbHashDicoElem);
        --_Pool._Left;
    }
    return new (slot) zbHashDicoElem(iKey, iValue);
}

void zbHashDico::DeleteElem(zbHashDicoElem* iElem)
{
    iElem->~zbHashDicoElem();
    *reinterpret_cast<void**>(iElem) = _Pool._Free;
    _Pool._Free = iElem;
}

void zbHashDico::ReleasePool()
{
    void* block = _Pool._Blocks;
    while (block)
    {
        void* next = *static_cast<void**>(block);
        std::free(block);
        block = next;
    }
    _Pool = ElemPool();
}

void zbHashDico::RemoveAll()
{
    for (int i = 0; i < _Dimension; ++i)
    {
        void* word = _Buckets[i];
        if (!word)
            continue;
        if (!_IsList[i])
            AsElem(word)->~zbHashDicoElem();
        else
        {
            ElemList* list = AsList(word);
            for (int p = 1; p <= list->_Size; ++p)
                list->At(p)->~zbHashDicoElem();
            std::free(list);
        }
    }
    if (_Dimension > 0)
        std::memset(_Buckets, 0, static_cast<size_t>(_Dimension) * (sizeof(void*) + 1));
    ReleasePool();
    _NbItems = 0;
    _NbFreeBuckets = _Dimension;
}

// Lookup

zbHashDicoElem* zbHashDico::Find(const zbNewString& iKey, unsigned int& oIndex,
                                 int& oPosition) const
{
    unsigned int index = iKey.ComputeHashKey() % static_cast<unsigned int>(_Dimension);
    oIndex = index;
    void* word = _Buckets[index];
    if (!word)
    {
        oPosition = 0;
        return nullptr;
    }
    if (!_IsList[index])
    {
        oPosition = 1;
        return SameKey(AsElem(word), iKey) ? AsElem(word) : nullptr;
    }
    ElemList* list = AsList(word);
    unsigned int tag = KeyTag(iKey);
    const unsigned int* tags = list->Tags();
    int size = list->_Size;
    for (int p = 1; p <= size; ++p)
        if (tags[p - 1] == tag && SameKey(list->At(p), iKey))
        {
            oPosition = p;
            return list->At(p);
        }
    oPosition = size;
    return nullptr;
}

int zbHashDico::Insert(const zbNewString& iKey, void* iValue)
{
    if (!iValue)
        return 0;
    unsigned int index;
    int position;
    if (Find(iKey, index, position))
        return 0;
    InsertElem(index, NewElem(iKey, iValue));
    return 1;
}

void zbHashDico::InsertElem(unsigned int iIndex, zbHashDicoElem* iElem)
{
    void*& word = _Buckets[iIndex];
    if (!word)
    {
        word = iElem;
        --_NbFreeBuckets;
    }
    else if (!_IsList[iIndex])
    {
        ElemList* list = NewList(4);
        Append(list, AsElem(word), KeyTag(AsElem(word)->_Key));
        Append(list, iElem, KeyTag(iElem->_Key));
        word = list;
        _IsList[iIndex] = 1;
    }
    else
    {
        ElemList* list = AsList(word);
        Append(list, iElem, KeyTag(iElem->_Key));
        word = list;
    }
    ++_NbItems;
}

void* zbHashDico::Locate(const zbNewString& iKey) const
{
    unsigned int index;
    int position;
    zbHashDicoElem* e = Find(iKey, index, position);
    return e ? e->_Value : nullptr;
}

void* zbHashDico::LocatePosition(const zbNewString& iKey, int& oBucket, int& oPosition) const
{
    unsigned int index;
    zbHashDicoElem* e = Find(iKey, index, oPosition);
    oBucket = static_cast<int>(index) + 1;
    return e ? e->_Value : nullptr;
}

int zbHashDico::GetBucketSize(int iBucket) const
{
    if (iBucket < 1 || iBucket > _Dimension || !_Buckets[iBucket - 1])
        return 0;
    return _IsList[iBucket - 1] ? AsList(_Buckets[iBucket - 1])->_Size : 1;
}

zbHashDicoElem* zbHashDico::ElemAt(int iBucket, int iPosition) const
{
    if (iBucket < 1 || iBucket > _Dimension)
        return nullptr;
    void* word = _Buckets[iBucket - 1];
    if (!word)
        return nullptr;
    if (!_IsList[iBucket - 1])
        return iPosition == 1 ? AsElem(word) : nullptr;
    ElemList* list = AsList(word);
    if (iPosition < 1 || iPosition > list->_Size)
        return nullptr;
    return list->At(iPosition);
}

void* zbHashDico::Retrieve(int iBucket, int iPosition, zbNewString* oKey) const
{
    zbHashDicoElem* e = ElemAt(iBucket, iPosition);
    if (!e)
        return nullptr;
    if (oKey)
        *oKey = e->_Key;
    return e->_Value;
}

// Iteration

void* zbHashDico::Next(int& ioBucket, int& ioPosition, zbNewString* oKey) const
{
    if (ioBucket < 1)
    {
        ioBucket = 1;
        ioPosition = 0;
    }
    if (ioPosition < 0)
        ioPosition = 0;
    while (ioBucket <= _Dimension)
    {
        void* word = _Buckets[ioBucket - 1];
        if (word)
        {
            zbHashDicoElem* e = nullptr;
            if (!_IsList[ioBucket - 1])
            {
                if (ioPosition < 1)
                    e = AsElem(word);
            }
            else if (ioPosition < AsList(word)->_Size)
                e = AsList(word)->At(ioPosition + 1);
            if (e)
            {
                ++ioPosition;
                if (oKey)
                    *oKey = e->_Key;
                return e->_Value;
            }
        }
        ++ioBucket;
        ioPosition = 0;
    }
    return nullptr;
}

void* zbHashDico::NextItem(int& ioBucket, int& ioPosition) const
{
    return Next(ioBucket, ioPosition, nullptr);
}

void* zbHashDico::Next(const zbNewString* iAfter, zbNewString* oKey) const
{
    int bucket = 1, position = 0;
    if (iAfter)
    {
        unsigned int index;
        if (Find(*iAfter, index, position))
            bucket = static_cast<int>(index) + 1;
        else
        {
            bucket = static_cast<int>(index) + 2;
            position = 0;
        }
    }
    return Next(bucket, position, oKey);
}

void* zbHashDico::operator[](const zbHashCodeIter& iIter) const
{
    const zbHashDicoElem* e = ItemName(iIter);
    return e ? e->_Value : nullptr;
}

const zbHashDicoElem* zbHashDico::ItemName(const zbHashCodeIter& iIter) const
{
    if (iIter.GetDico() != this)
        return nullptr;
    return ElemAt(iIter.GetBucket(), iIter.GetPosition());
}

// Removal

void* zbHashDico::Remove(const zbNewString& iKey)
{
    int bucket, position;
    if (!LocatePosition(iKey, bucket, position))
        return nullptr;
    return RemovePosition(bucket, position, nullptr);
}

void* zbHashDico::RemovePosition(int iBucket, int iPosition, zbNewString* oKey)
{
    zbHashDicoElem* e = ElemAt(iBucket, iPosition);
    if (!e)
        return nullptr;
    int index = iBucket - 1;
    if (!_IsList[index])
    {
        _Buckets[index] = nullptr;
        ++_NbFreeBuckets;
    }
    else
    {
        ElemList* list = AsList(_Buckets[index]);
        RemoveAt(list, iPosition);
        if (list->_Size == 1)
        {
            // The survivor occupies the bucket directly again.
            _Buckets[index] = list->At(1);
            _IsList[index] = 0;
            std::free(list);
        }
    }
    --_NbItems;
    if (oKey)
        *oKey = e->_Key;
    void* value = e->_Value;
    DeleteElem(e);
    return value;
}

// Walks and comparison

int zbHashDico::ApplyGlobalFunct(GlobalFunction iFunction, const zbNewString* iStart,
                                 zbNewString* oKey, int* oResult) const
{
    if (oResult)
        *oResult = 0;
    if (!iFunction || _NbItems == 0)
        return 0;
    int bucket = 1, position = 0;
    if (iStart)
    {
        unsigned int index;
        if (!Find(*iStart, index, position))
            return 0;
        bucket = static_cast<int>(index) + 1;
        --position;
    }
    int calls = 0;
    while (void* value = Next(bucket, position, oKey))
    {
        ++calls;
        int result = iFunction(value);
        if (result)
        {
            if (oResult)
                *oResult = result;
            break;
        }
    }
    return calls;
}

bool zbHashDico::Contained(const zbHashDico& iOther) const
{
    if (this == &iOther || _Dimension < 1)
        return true;
    for (const auto& entry : *this)
        if (iOther.Locate(entry._Key) != entry._Value)
            return false;
    return true;
}

bool zbHashDico::operator==(const zbHashDico& iOther) const
{
    return Contained(iOther);
}

bool zbHashDico::operator!=(const zbHashDico& iOther) const
{
    return !Contained(iOther);
}

// Statistics

void zbHashDicoPrintStats(const zbHashDico& iDico, const char* iValueTypeName, zbOFStream& ioStream)
{
    int d = iDico.GetDimension();
    int f = iDico.GetNbFreeBuckets();
    int n = iDico.GetNbItems();
    int k = n - (d - f);
    ioStream << "zbHDICO( zbNewString, " << (iValueTypeName ? iValueTypeName : "") << " ):" << endl;
    ioStream << "( dimensionned to " << d << " buckets "
             << ", with " << f << " unused ==> " << static_cast<double>(f) / d * 100 << "% )"
             << endl;
    ioStream << "( containing " << n << " items "
             << ", with " << k << " in collision ";
    if (n != 0)
        ioStream << "==> " << static_cast<double>(k) / n * 100 << "% ";
    ioStream << ")" << endl;
}
