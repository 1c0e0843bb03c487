#include "zbErrorCodeManager.h"

#include <cstring>

QORUnicodeString& zbErrorCodeManager::GetMsgError()
{
    _MsgError.Reset();
    _MsgError = std::strerror(_Errno);
    return _MsgError;
}
