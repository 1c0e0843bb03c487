#ifndef zbQORStringHash_H
#define zbQORStringHash_H
// QORString pointers in the foundation's hash tables.

#include "QORHashTable.h"
#include "QORString.h"

// 0 for null, else the string's hash key.
unsigned int zbQORStringHkey(QORString* iString);
// 0 for the same pointer; a null side is lower; else QORString::Compare.
int zbQORStringCompare(QORString* iA, QORString* iB);
// The same order over strings that are only read (sorting of lists).
int zbQORStringOrder(const QORString* iA, const QORString* iB);

// Hash table of QORString pointers; ApplyDelete deletes every string.
class QORHashTabQORString : public QORHashTab<QORString>
{
  public:
    explicit QORHashTabQORString(int iDimension)
        : QORHashTab<QORString>(iDimension, zbQORStringHkey, zbQORStringCompare)
    {
    }
};

#endif
