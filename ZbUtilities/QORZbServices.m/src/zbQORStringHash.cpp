#include "zbQORStringHash.h"

unsigned int zbQORStringHkey(QORString* iString)
{
    return iString ? iString->ComputeHashKey() : 0;
}

int zbQORStringCompare(QORString* iA, QORString* iB)
{
    return zbQORStringOrder(iA, iB);
}

int zbQORStringOrder(const QORString* iA, const QORString* iB)
{
    if (iA == iB)
        return 0;
    if (!iA)
        return -1;
    if (!iB)
        return 1;
    return iA->Compare(*iB);
}
