#ifndef zbMsg_H
#define zbMsg_H
// Six message parameters filled in advance and printed later through the
// trace manager.

#include <cstdio>

#include "QORUnicodeString.h"
#include "zbKeyForTraceManager.h"

class zbMsg
{
  public:
    zbMsg() = default;
    virtual ~zbMsg() = default;

    // Each non-null argument replaces the parameter of its position.
    void SetTabMsg(const QORUnicodeString* iP1, const QORUnicodeString* iP2 = nullptr,
                   const QORUnicodeString* iP3 = nullptr, const QORUnicodeString* iP4 = nullptr,
                   const QORUnicodeString* iP5 = nullptr, const QORUnicodeString* iP6 = nullptr);
    void SetTabMsg(const char* iP1, const char* iP2 = nullptr, const char* iP3 = nullptr,
                   const char* iP4 = nullptr, const char* iP5 = nullptr, const char* iP6 = nullptr);
    QORUnicodeString* GetTabMsg() { return _TabMsg; }
    int GetTabMsgSize() const { return 6; }
    void Reset();
    // zbExtContext.GetTraceMngr()->Print(iKey, iStream, *this).
    int Print(FILE* iStream, const zbKeyForTraceManager& iKey);

  private:
    QORUnicodeString _TabMsg[7];
};

#endif
