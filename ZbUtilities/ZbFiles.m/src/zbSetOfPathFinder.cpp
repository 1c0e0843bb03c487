#include "zbSetOfPathFinder.h"

zbPathFinderFileName* zbSetOfPathFinder::SearchFor(const QORString& iName,
                                                   zbPathFinderFileName& oFile)
{
    for (int i = 1; i <= Size(); ++i)
        if (zbPathFinder* finder = (*this)[i])
            if (finder->SearchFor(iName, oFile))
                return &oFile;
    oFile = iName;
    return nullptr;
}
