#ifndef zbKeyForTraceManager_H
#define zbKeyForTraceManager_H
// Keys of the trace manager.  A key's text names both a catalog message and
// an entry of the XML keys file.  zbKeyForTraceManagerWithId is the key type
// of zbTraceManager::PrintWithId.

#include "QORString.h"

class zbKeyForTraceManager : public QORString
{
  public:
    zbKeyForTraceManager() = default;
    zbKeyForTraceManager(const char* iText) : QORString(iText) {}
    zbKeyForTraceManager(const QORString& iText) : QORString(iText) {}
};

class zbKeyForTraceManagerWithId : public QORString
{
  public:
    zbKeyForTraceManagerWithId() = default;
    zbKeyForTraceManagerWithId(const char* iText) : QORString(iText) {}
    zbKeyForTraceManagerWithId(const QORString& iText) : QORString(iText) {}
};

#endif
