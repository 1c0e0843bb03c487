#ifndef zbMsgTrace_H
#define zbMsgTrace_H
// A report prepared now and printed later through the trace manager
// (zbTraceManager::GetMsg makes them).  The caller deletes it.

#include <cstdio>

#include "QORString.h"
#include "QORUnicodeString.h"
#include "zbKeyForTraceManager.h"

class zbMsgTrace
{
  public:
    // Copies the key and the parameters; iStream may be null.
    zbMsgTrace(const zbKeyForTraceManager& iKey, FILE* iStream, QORUnicodeString* iParams,
               const int& iCount);
    virtual ~zbMsgTrace();
    zbMsgTrace(const zbMsgTrace&) = delete;
    zbMsgTrace& operator=(const zbMsgTrace&) = delete;

    // zbExtContext.GetTraceMngr()->Print of the report; its result.
    int Print();

  private:
    QORString _Key;
    FILE* _Stream;
    QORUnicodeString* _Params;
    int _NbParams;
};

#endif
