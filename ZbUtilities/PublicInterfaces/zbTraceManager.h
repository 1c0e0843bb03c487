#ifndef zbTraceManager_H
#define zbTraceManager_H
// Where every report ends up: a catalog message under an outer key, printed
// on a console stream and, when an XML trace file is active, written to it
// in the XML form the keys file declares for the key.

#include <cstdio>

#include "QORString.h"
#include "QORUnicodeString.h"
#include "zbKeyForTraceManager.h"

class zbMsg;

class zbTraceManager
{
  public:
    explicit zbTraceManager(const QORString& iXmlKeysFile);
    virtual ~zbTraceManager();
    zbTraceManager(const zbTraceManager&) = delete;
    zbTraceManager& operator=(const zbTraceManager&) = delete;

    // Free text: printed as is on iStream (no newline added), escaped into
    // the XML file (ioText holds the escaped form afterwards).
    int Print(FILE* iStream, QORUnicodeString& ioText);
    // The main report: the catalog message iKey with the parameters, one
    // line on iStream (when non-null), its XML form in the trace file.
    int Print(const zbKeyForTraceManager& iKey, FILE* iStream, QORUnicodeString* iParams,
              const int& iCount);
    int Print(const zbKeyForTraceManager& iKey, FILE* iStream, const QORUnicodeString& iP1);
    int Print(const zbKeyForTraceManager& iKey, FILE* iStream, const QORUnicodeString& iP1,
              const QORUnicodeString& iP2);
    int Print(const zbKeyForTraceManager& iKey, FILE* iStream, zbMsg& iMessage);
    // The parameters become iId followed by the iCount parameters.
    int PrintWithId(const zbKeyForTraceManagerWithId& iKey, FILE* iStream,
                    const QORUnicodeString& iId, QORUnicodeString* iParams, const int& iCount);

    const QORString& GetXmlKeysFile() const { return _XmlKeysFile; }
    const QORString& GetXmlFileName() const { return _XmlFileName; }
    int GetXmlFd() const { return _XmlFd; }

  private:
    QORString _XmlKeysFile;
    QORString _XmlFileName;
    int _IsOpen;
    int _XmlFd;
};

#endif
