#include "QORHashTable.h"

QORHashTable::QORHashTable(int iDimension, HashFunction iHash, CompareFunction iCompare)
    : QORHashTable(iDimension)
{
    _Hash = iHash;
    _Compare = iCompare;
}

QORHashTable::QORHashTable(int iDimension)
    : _Buckets(static_cast<std::size_t>(iDimension > 0 ? iDimension : 1)),
      _NbFreeBuckets(iDimension > 0 ? iDimension : 1)
{
}

QORHashTable::~QORHashTable() = default;

int QORHashTable::Insert(void* iElement)
{
    if (!iElement)
        return 1;
    std::vector<void*>& bucket = _Buckets[HashOf(iElement) % _Buckets.size()];
    for (void* e : bucket)
        if (CompareOf(e, iElement) == 0)
            return 1;
    if (bucket.empty())
        --_NbFreeBuckets;
    bucket.push_back(iElement);
    ++_NbItems;
    return 0;
}

void* QORHashTable::Locate(void* iElement) const
{
    if (!iElement)
        return nullptr;
    const std::vector<void*>& bucket = _Buckets[HashOf(iElement) % _Buckets.size()];
    for (void* e : bucket)
        if (CompareOf(e, iElement) == 0)
            return e;
    return nullptr;
}

void* QORHashTable::Remove(void* iElement)
{
    if (!iElement)
        return nullptr;
    std::vector<void*>& bucket = _Buckets[HashOf(iElement) % _Buckets.size()];
    for (auto it = bucket.begin(); it != bucket.end(); ++it)
        if (CompareOf(*it, iElement) == 0)
        {
            void* found = *it;
            bucket.erase(it);
            if (bucket.empty())
                ++_NbFreeBuckets;
            --_NbItems;
            return found;
        }
    return nullptr;
}

void QORHashTable::RemoveAll()
{
    for (auto& bucket : _Buckets)
        std::vector<void*>().swap(bucket);
    _NbItems = 0;
    _NbFreeBuckets = GetDimension();
}

void* QORHashTable::Next(int& ioBucket, int& ioPosition) const
{
    if (ioBucket < 1)
        ioBucket = 1, ioPosition = 0;
    if (ioPosition < 0)
        ioPosition = 0;
    while (ioBucket <= GetDimension())
    {
        const std::vector<void*>& bucket = _Buckets[static_cast<std::size_t>(ioBucket - 1)];
        if (ioPosition < static_cast<int>(bucket.size()))
            return bucket[static_cast<std::size_t>(ioPosition++)];
        ++ioBucket;
        ioPosition = 0;
    }
    return nullptr;
}
