#include "zbActionFactory.h"

#include "zbActionIntf.h"
#include "zbReport.h"

zbActionIntf* zbActionFactory(const char* ImplName)
{
    void* result = nullptr;
    if (ImplName)
        QORCreateClassInstance(ImplName, zbActionIntf::ClassId(), &result);
    if (!result)
    {
        zbReportMessage("zbbs.errNoActImpl", {QORUnicodeString(ImplName ? ImplName : "")});
        return nullptr;
    }
    return static_cast<zbActionIntf*>(static_cast<QORBaseUnknown*>(result));
}
