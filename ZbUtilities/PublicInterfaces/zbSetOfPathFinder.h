#ifndef zbSetOfPathFinder_H
#define zbSetOfPathFinder_H
// Several path finders asked in order (not owned).

#include "QORListPtr.h"
#include "zbPathFinder.h"

using QORListPtrzbPathFinder = QORListPtr<zbPathFinder>;

class zbSetOfPathFinder : public QORListPtrzbPathFinder
{
  public:
    zbSetOfPathFinder() = default;
    explicit zbSetOfPathFinder(zbPathFinder& iFinder) { Append(iFinder); }
    virtual ~zbSetOfPathFinder() = default;

    int Append(zbPathFinder& iFinder) { return QORListPtrzbPathFinder::Append(&iFinder); }

    // The first finder that knows the name gives oFile and &oFile is
    // returned; otherwise oFile is the bare name and null is returned.
    zbFileName* SearchFor(const QORString& iName, zbFileName& oFile);
};

#endif
