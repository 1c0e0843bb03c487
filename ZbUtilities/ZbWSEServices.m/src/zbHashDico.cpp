#include "zbHashDico.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "QORFatalError.h"
#include "QORRawCollPV.h"
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

inline QORRawCollPV* AsList(void* iWord)
{
    return static_cast<QORRawCollPV*>(iWord);
}
inline zbHashDicoElem* AsElem(void* iWord)
{
    return static_cast<zbHashDicoElem*>(iWord);
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
            QORRawCollPV* from = AsList(word);
            QORRawCollPV* list = new QORRawCollPV(from->Size());
            for (int p = 1; p <= from->Size(); ++p)
            {
                zbHashDicoElem* e = AsElem((*from)[p]);
                list->Append(NewElem(e->_Key, e->_Value));
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
    int bucket = 1, position = 0;
    zbNewString key;
    while (void* value = iOther.Next(bucket, position, &key))
        Insert(key, value);
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
            QORRawCollPV* list = AsList(word);
            for (int p = 1; p <= list->Size(); ++p)
                AsElem((*list)[p])->~zbHashDicoElem();
            delete list;
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
    QORRawCollPV* list = AsList(word);
    int size = list->Size();
    for (int p = 1; p <= size; ++p)
    {
        oPosition = p;
        zbHashDicoElem* e = AsElem((*list)[p]);
        if (SameKey(e, iKey))
            return e;
    }
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
        QORRawCollPV* list = new QORRawCollPV(2);
        list->Append(word);
        list->Append(iElem);
        word = list;
        _IsList[iIndex] = 1;
    }
    else
        AsList(word)->Append(iElem);
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
    return _IsList[iBucket - 1] ? AsList(_Buckets[iBucket - 1])->Size() : 1;
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
    QORRawCollPV* list = AsList(word);
    if (iPosition < 1 || iPosition > list->Size())
        return nullptr;
    return AsElem((*list)[iPosition]);
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
            else if (ioPosition < AsList(word)->Size())
                e = AsElem((*AsList(word))[ioPosition + 1]);
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
        QORRawCollPV* list = AsList(_Buckets[index]);
        list->RemovePosition(iPosition);
        if (list->Size() == 1)
        {
            // The survivor occupies the bucket directly again.
            _Buckets[index] = (*list)[1];
            _IsList[index] = 0;
            delete list;
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
    for (int b = 1; b <= _Dimension; ++b)
        for (int p = 1, n = GetBucketSize(b); p <= n; ++p)
        {
            const zbHashDicoElem* e = ElemAt(b, p);
            if (iOther.Locate(e->_Key) != e->_Value)
                return false;
        }
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
