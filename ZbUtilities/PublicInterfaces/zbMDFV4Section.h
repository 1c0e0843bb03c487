#ifndef zbMDFV4Section_H
#define zbMDFV4Section_H
// One section of an MDF V4 file: a window onto the value lines
// _First.._Last of its owner's line table.  The section owns nothing: the
// lines live as long as the zbMDFV4 that read them.

#include "QORHashDicS.h"
#include "QORListVal.h"
#include "QORString.h"

class zbOFStream;

class zbMDFV4Section
{
  public:
    // A section of the lines iFirst..iLast of iLines (none when iLast <
    // iFirst or the table is null).
    zbMDFV4Section(const char* const* iLines, const int iFirst, const int iLast);
    virtual ~zbMDFV4Section();

    int Size() const { return _Size; }
    // The value line iIndex (from 0), or null outside the section.
    const char* operator[](const int iIndex) const;
    // Appends every value line to ioList; returns Size().
    int GetListOfValues(QORListValQORString& ioList) const;
    // "#  - 'VALUE'" per value line.
    void Dump(zbOFStream& oStream) const;

  private:
    const char* const* _Lines;
    int _First;
    int _Last;
    int _Size;
};

using QORHashDicSzbMDFV4Section = QORHashDicS<zbMDFV4Section>;

#endif
