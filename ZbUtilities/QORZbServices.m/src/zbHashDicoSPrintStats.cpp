#include "zbHashDicoSPrintStats.h"

void zbHashDicoSPrintStats(const QORHashDicoS& iDico, const char* iTypeName, zbOFStream& oStream)
{
    const int dimension = iDico.GetDimension();
    const int unused = iDico.GetNbFreeBuckets();
    const int items = iDico.GetNbItems();
    const int collisions = items - (dimension - unused);
    oStream << "QORHDICOS( QORString, " << iTypeName << " ):" << endl;
    oStream << "( dimensionned to " << dimension << " buckets "
            << ", with " << unused << " unused ==> "
            << static_cast<double>(unused) / dimension * 100.0 << "% )" << endl;
    oStream << "( containing " << items << " items "
            << ", with " << collisions << " in collision ";
    if (items)
        oStream << "==> " << static_cast<double>(collisions) / items * 100.0 << "% ";
    oStream << ")" << endl;
}
