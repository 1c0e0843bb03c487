#ifndef zbMsgManager_H
#define zbMsgManager_H
// Builds message texts from a catalog by key with up to six parameters.  A
// place the caller gave no parameter for shows "???"; an unknown key gives
// the catalog's error text.  The context owns the library's instance
// (zbExtContext.GetMsgMngr()), on the catalog "QORZbMessages".

#include <string>
#include <vector>

#include "QORMsg.h"
#include "QORMsgCatalog.h"
#include "QORString.h"
#include "QORUnicodeString.h"

class zbMsgManager
{
  public:
    explicit zbMsgManager(const char* iCatalogName);
    virtual ~zbMsgManager();
    zbMsgManager(const zbMsgManager&) = delete;
    zbMsgManager& operator=(const zbMsgManager&) = delete;

    // Loads the catalog on first use, or switches to another catalog name.
    // Returns the load status: non-zero loaded, 0 failed.
    int LoadCatalog(const char* iCatalogName);
    // 1 once a load was tried and failed (missing or unreadable catalog):
    // the texts built since are the catalog's error, not the messages.
    int CatalogFailed() const { return _Status == 0 ? 1 : 0; }

    QORUnicodeString GetMsg(const QORString& iKey);
    QORUnicodeString GetMsg(const QORString& iKey, const QORUnicodeString& iP1);
    QORUnicodeString GetMsg(const QORString& iKey, const QORUnicodeString& iP1,
                            const QORUnicodeString& iP2);
    QORUnicodeString GetMsg(const QORString& iKey, const QORUnicodeString& iP1,
                            const QORUnicodeString& iP2, const QORUnicodeString& iP3);
    QORUnicodeString GetMsg(const QORString& iKey, const QORUnicodeString& iP1,
                            const QORUnicodeString& iP2, const QORUnicodeString& iP3,
                            const QORUnicodeString& iP4);
    QORUnicodeString GetMsg(const QORString& iKey, const QORUnicodeString& iP1,
                            const QORUnicodeString& iP2, const QORUnicodeString& iP3,
                            const QORUnicodeString& iP4, const QORUnicodeString& iP5);
    QORUnicodeString GetMsg(const QORString& iKey, const QORUnicodeString& iP1,
                            const QORUnicodeString& iP2, const QORUnicodeString& iP3,
                            const QORUnicodeString& iP4, const QORUnicodeString& iP5,
                            const QORUnicodeString& iP6);
    QORUnicodeString GetMsg(const QORString& iKey, QORUnicodeString* iParams, const int& iCount);

    // The message iOuterKey whose one parameter is the message iKey with
    // the parameters; with a null iKey, iOuterKey with the parameters.
    QORUnicodeString GetMsg(const QORString& iOuterKey, const QORString* iKey,
                            QORUnicodeString* iParams, int iCount);
    // Appends that message to oText in UTF-8, up to its first null
    // character (the text a C string of it shows); returns 1 when the
    // message has at least one character, else 0.  Where the parameters go
    // is worked out once per keys and parameter count and kept until the
    // catalog changes: a message repeated with other parameters costs the
    // copies of its pieces only.
    int Compose(const QORString& iOuterKey, const QORString* iKey, const QORUnicodeString* iParams,
                int iCount, std::string& oText);

    // 1 when the catalog has a text for iKey (its own or a wildcard
    // entry's), else 0.
    int HasMsg(const QORString& iKey);

    QORMsg* _GetCatalogMsg(const QORString& iKey);
    QORUnicodeString _CheckAndBuildMsg(QORUnicodeString* iParams, const int& iCount);

  private:
    // Looks the key up (with the catalog's fallback); false when the result
    // is the catalog's error text.
    bool LookUp(const QORString& iKey);

    // A composition: literal text and parameter places (-1 - index).
    struct Composition
    {
        std::string _OuterKey;
        std::string _Key;
        bool _HasKey;
        int _Count;
        std::vector<std::string> _Texts;
        std::vector<int> _Pieces; // >= 0: _Texts[n]; < 0: parameter -1 - n
    };
    const Composition& Composed(const QORString& iOuterKey, const QORString* iKey, int iCount);

    int _Status;
    std::vector<Composition> _Compositions; // dropped when the catalog changes
    QORUnicodeString _Params[6];
    QORString _CatalogName;
    QORMsgCatalog _Catalog;
    QORMsg _Msg;
};

#endif
