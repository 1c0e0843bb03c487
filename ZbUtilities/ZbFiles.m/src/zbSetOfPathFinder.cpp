#include "zbSetOfPathFinder.h"

zbFileName* zbSetOfPathFinder::SearchFor(const QORString& iName, zbFileName& oFile)
{
    for (int i = 1; i <= Size(); ++i)
        if (zbPathFinder* finder = (*this)[i])
            if (finder->SearchFor(iName, oFile))
                return &oFile;
    oFile = iName.CastToCharPtr();
    return nullptr;
}
