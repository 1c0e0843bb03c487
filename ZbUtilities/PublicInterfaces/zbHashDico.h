#ifndef zbHashDico_H
#define zbHashDico_H
// Dictionary of zbNewString keys to untyped pointers, with a bucket count
// fixed at construction.
//
// The bucket of a key is its ComputeHashKey modulo the dimension.  A bucket
// is empty, holds one element directly, or holds a list of elements (one
// block: the element pointers in position order and a short second hash of
// each key, so that a crowded bucket is scanned without visiting every
// element).
// Places handed out by the interface are 1-based: bucket b (1 to the
// dimension) and position p inside the bucket (position 1 is the element of
// a single-element bucket).  Iteration walks the buckets in ascending order
// and a list bucket by position, starting at bucket 1, position 0.
// Insert answers 1 when it stored the pair, 0 otherwise (as QORHashDicoS
// does).  A range-for loop walks the pairs in iteration order:
//   for (const auto& entry : dico)  ... entry._Key, entry._Value
// and Values() the values alone, without copying the keys out.
//
// The dictionary owns its elements (a copy of each key with its value
// pointer), never the values.  Elements are carved out of blocks owned by the
// dictionary, so that an insertion costs no allocation of its own.

#include "QORDicoIterator.h"
#include "zbNewString.h"

class zbOFStream;
class zbHashDico;

class zbHashDicoElem
{
  public:
    zbHashDicoElem(const zbNewString& iKey, void* iValue) : _Key(iKey), _Value(iValue) {}
    virtual ~zbHashDicoElem();

    const zbNewString& GetKey() const { return _Key; }
    void* GetValue() const { return _Value; }

    zbNewString _Key;
    void* _Value;
};

// Walks a dictionary: the current place is the element last returned.
class zbHashCodeIter
{
  public:
    explicit zbHashCodeIter(const zbHashDico& iDico) : _Dico(&iDico), _Bucket(1), _Position(0) {}
    void Beginning()
    {
        _Bucket = 1;
        _Position = 0;
    }
    // Advances to the next element and returns its value, or null at the end.
    void* Next();
    const zbHashDico* GetDico() const { return _Dico; }
    int GetBucket() const { return _Bucket; }
    int GetPosition() const { return _Position; }

  private:
    const zbHashDico* _Dico;
    int _Bucket;
    int _Position;
};

class zbHashCodeCollec
{
  public:
    // Smallest m >= iN not divisible by any of the primes 2 to 19 that are
    // smaller than m (1 for iN below 1).
    static int UpToNiceModulo(int iN);
};

class zbHashDico
{
  public:
    // Function applied by ApplyGlobalFunct: a non-zero result stops the walk.
    using GlobalFunction = int (*)(void* iValue);

    // iDimension below 1 is a fatal error.
    explicit zbHashDico(int iDimension);
    zbHashDico(const zbHashDico& iOther);
    zbHashDico& operator=(const zbHashDico& iOther);
    virtual ~zbHashDico();

    // 1 when stored; 0 when iValue is null or the key is already present.
    int Insert(const zbNewString& iKey, void* iValue);
    void* Locate(const zbNewString& iKey) const;
    // oBucket is always the key's bucket; oPosition the element's position
    // (in a list, how far the search went; 0 for an empty bucket).
    void* LocatePosition(const zbNewString& iKey, int& oBucket, int& oPosition) const;
    void* Retrieve(int iBucket, int iPosition, zbNewString* oKey = nullptr) const;
    // Value of the element after (ioBucket, ioPosition), advancing both; null at the end.
    void* Next(int& ioBucket, int& ioPosition, zbNewString* oKey = nullptr) const;
    virtual void* NextItem(int& ioBucket, int& ioPosition) const;
    // Value of the element following the one with key iAfter (the first one
    // when iAfter is null); when iAfter is absent, the walk goes on with the
    // buckets after its own.
    void* Next(const zbNewString* iAfter, zbNewString* oKey = nullptr) const;
    void* operator[](const zbHashCodeIter& iIter) const;
    const zbHashDicoElem* ItemName(const zbHashCodeIter& iIter) const;

    void* Remove(const zbNewString& iKey);
    void* RemovePosition(int iBucket, int iPosition, zbNewString* oKey = nullptr);
    void RemoveAll();

    // Calls iFunction on each value from the element with key iStart (the
    // first one when null); stops at the first non-zero result, stored in
    // oResult.  Returns the number of calls.
    int ApplyGlobalFunct(GlobalFunction iFunction, const zbNewString* iStart = nullptr,
                         zbNewString* oKey = nullptr, int* oResult = nullptr) const;

    // True when every element of this dictionary has an element of the same
    // key and value in iOther (elements only in iOther are not looked at).
    bool operator==(const zbHashDico& iOther) const;
    bool operator!=(const zbHashDico& iOther) const;

    int GetDimension() const { return _Dimension; }
    int GetNbItems() const { return _NbItems; }
    int GetNbFreeBuckets() const { return _NbFreeBuckets; }
    // 1 when bucket iBucket (1-based) holds a list.
    int IsListBucket(int iBucket) const
    {
        return iBucket >= 1 && iBucket <= _Dimension ? _IsList[iBucket - 1] : 0;
    }
    // Number of elements in bucket iBucket (1-based).
    int GetBucketSize(int iBucket) const;

    // One step of the walk for the range adapters (no value is null).
    bool WalkStep(int& ioBucket, int& ioPosition, zbNewString* oKey, void*& oValue) const
    {
        oValue = Next(ioBucket, ioPosition, oKey);
        return oValue != nullptr;
    }
    template <class V> using Iterator = QORDicoIterator<zbHashDico, zbNewString, V>;
    template <class V> using ValueRange = QORDicoValues<zbHashDico, zbNewString, V>;

    Iterator<void> begin() const { return Iterator<void>(this, true); }
    Iterator<void> end() const { return Iterator<void>(nullptr, true); }
    ValueRange<void> Values() const { return ValueRange<void>(this); }

  private:
    // Blocks of element storage with a free list of released slots.
    struct ElemPool
    {
        void* _Blocks = nullptr; // chained: each block starts with the next one's address
        void* _Free = nullptr;   // released slots, chained through their first word
        char* _Cursor = nullptr; // next unused slot in the newest block
        int _Left = 0;           // unused slots left in the newest block
        int _NextBlockSize = 0;  // slots of the next block
    };

    void Allocate(int iDimension);
    zbHashDicoElem* NewElem(const zbNewString& iKey, void* iValue);
    void DeleteElem(zbHashDicoElem* iElem);
    void ReleasePool();
    void InsertElem(unsigned int iIndex, zbHashDicoElem* iElem);
    zbHashDicoElem* ElemAt(int iBucket, int iPosition) const;
    // Element of key iKey or null; oIndex its bucket (0-based), oPosition as LocatePosition.
    zbHashDicoElem* Find(const zbNewString& iKey, unsigned int& oIndex, int& oPosition) const;
    // Shared walk of operator== and operator!=.
    bool Contained(const zbHashDico& iOther) const;

    void** _Buckets;
    unsigned char* _IsList;
    int _Dimension;
    int _NbItems;
    int _NbFreeBuckets;
    ElemPool _Pool;
};

// Statistics report of a dictionary: three lines naming the value type.
void zbHashDicoPrintStats(const zbHashDico& iDico, const char* iValueTypeName,
                          zbOFStream& ioStream);

#endif
