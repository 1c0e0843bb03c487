#ifndef zbHashDicoSPrintStats_H
#define zbHashDicoSPrintStats_H
// Statistics report of the foundation's string-keyed dictionaries: bucket
// count, unused buckets, items and items in collision, three lines:
//
//   QORHDICOS( QORString, zbMacroValue ):
//   ( dimensionned to 500 buckets , with 499 unused ==> 99.8% )
//   ( containing 2 items , with 1 in collision ==> 50% )
//
// Each typed dictionary names its value type through zbHashDicoSTypeName.

#include "QORHashDicS.h"
#include "zbOFStream.h"

class zbMacroSet;
class zbMacroValue;
class zbMDFV4Section;
class zbFileName;

template <class T> struct zbHashDicoSTypeName;
template <> struct zbHashDicoSTypeName<zbMacroSet>
{
    static const char* Name() { return "zbMacroSet"; }
};
template <> struct zbHashDicoSTypeName<zbMacroValue>
{
    static const char* Name() { return "zbMacroValue"; }
};
template <> struct zbHashDicoSTypeName<zbMDFV4Section>
{
    static const char* Name() { return "zbMDFV4Section"; }
};
template <> struct zbHashDicoSTypeName<zbFileName>
{
    static const char* Name() { return "zbFileName"; }
};

// The report of any string-keyed dictionary under a given type name.
void zbHashDicoSPrintStats(const QORHashDicoS& iDico, const char* iTypeName, zbOFStream& oStream);

template <class T> void zbHashDicoSPrintStats(const QORHashDicS<T>& iDico, zbOFStream& oStream)
{
    zbHashDicoSPrintStats(iDico, zbHashDicoSTypeName<T>::Name(), oStream);
}

#endif
