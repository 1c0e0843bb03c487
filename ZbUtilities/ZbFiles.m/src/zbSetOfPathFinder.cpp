#include "zbSetOfPathFinder.h"

zbFileName* zbSetOfPathFinder::SearchFor(const QORString& iName, zbFileName& oFile)
{
    for (zbPathFinder* finder : *this)
        if (finder && finder->SearchFor(iName, oFile))
            return &oFile;
    oFile = iName.CastToCharPtr();
    return nullptr;
}
