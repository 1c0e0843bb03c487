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

    // Prints each block of the list file as
    //   "@" ["|" into-FW] [">" subdirectory] WS "/./" NAME-INTO-WS "\n" ENTRIES
    // Only complete lines are copied.  0, or 1 when the list file cannot be
    // read or has a wrong magic line, or the stream refuses the text (error
    // recorded, nothing printed).
    int CatHeaderListToStream(zbOFStream& ioOut);

  private:
    QORString _WSPathname;
    QORString _Listname;
    int _IntoFW;
};

using QORListPtrzbHeaderListIntoWS = QORListPtr<zbHeaderListIntoWS>;

#endif
