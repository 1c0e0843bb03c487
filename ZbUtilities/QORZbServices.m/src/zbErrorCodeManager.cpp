#include "zbErrorCodeManager.h"

#include <cstring>

#include "zbContext.h"
#include "zbMsgManager.h"

QORUnicodeString& zbErrorCodeManager::GetMsgError()
{
    _MsgError.Reset();
    if (_Errno == zbErrnoNulByte)
        _MsgError = zbExtContext.GetMsgMngr()->GetMsg("zbFile.NulByte");
    else
        _MsgError = std::strerror(_Errno);
    return _MsgError;
}
