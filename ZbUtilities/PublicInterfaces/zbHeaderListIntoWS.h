#ifndef zbHeaderListIntoWS_H
#define zbHeaderListIntoWS_H
// The header list of one workspace: it knows the workspace root and its list
// file, and copies that file to a stream with every directory made absolute
// (the blocks of a header map).

#include "QORListPtr.h"
#include "QORString.h"
#include "zbHeaderList.h"

class zbOFStream;

class zbHeaderListIntoWS : public zbHeaderList
{
  public:
    // iIntoFW: the directories belong to the framework being built.
    zbHeaderListIntoWS(const QORString& iWSPathname, const QORString& iListname, const int iIntoFW);
    ~zbHeaderListIntoWS() override;

    const QORString& GetWSPathname() const { return _WSPathname; }
    const QORString& GetListname() const { return _Listname; }
    int IsIntoFW() const { return _IntoFW; }

    // What CatHeaderListToStream found.
    enum CatResult
    {
        CatDone = 0,
        CatUnreadable = 1, // the list file cannot be read (errno recorded)
        CatNotAList = 2,   // empty, or its first line is not the magic line
        CatDamaged = 3,    // damaged at GetDamagedLine(): the blocks before it copied
        CatRefused = 4,    // the stream refused the text (errno recorded)
    };
    // Prints each block of the list file as
    //   "@" ["|" into-FW] [">" subdirectory] WS "/./" NAME-INTO-WS "\n" ENTRIES
    // Only the complete blocks before any damage (see FindDamage) are
    // copied.  Nothing
    // is printed: the caller reports from the result.
    int CatHeaderListToStream(zbOFStream& ioOut);
    // The line (from 1, the magic line) where the last CatDamaged was found.
    int GetDamagedLine() const { return _DamagedLine; }

  private:
    QORString _WSPathname;
    QORString _Listname;
    int _IntoFW;
    int _DamagedLine = 0;
};

using QORListPtrzbHeaderListIntoWS = QORListPtr<zbHeaderListIntoWS>;

#endif
