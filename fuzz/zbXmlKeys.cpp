// The XML keys loader on arbitrary keys-file text: read as a macro set, then
// loaded; when the keys load, every report key is written through them to a
// borrowed descriptor on /dev/null (tags opened and closed, mappings beyond
// the parameters, escaping), then the trace is let go.

#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "zbContext.h"
#include "zbMacroSet.h"
#include "zbTraceManager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    static int quiet = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    std::string text(reinterpret_cast<const char*>(iData), iSize);
    text.push_back('\n');
    char* buffer = zbMacroSet::ParseBuffer("zbXmlKeys.mk", &text[0]);
    if (!buffer)
        return 0;
    zbMacroSet set(31);
    set.InsertBuffer(buffer, nullptr, '=', zbMacroSet::ReplaceExisting);
    zbTraceManager manager{QORString("zbXmlKeys.mk")};
    if (manager.LoadXmlKeys([&set](const QORString& iName, QORListValQORString& oWords)
                            { return set.GetListOfValues(iName, oWords) ? 1 : 0; }))
        return 0;
    if (manager.SetXmlFileDescriptor(&quiet, "/dev/null") != 1)
        return 0;
    QORUnicodeString params[3] = {"a<b", "\"c\"", "&d"};
    for (const zbKeyForTraceManager* key :
         {&MSG_KEY_makeBegin, &MSG_KEY_stepStart, &MSG_KEY_zbzbError, &MSG_KEY_systError,
          &MSG_KEY_zbzbInfo, &MSG_KEY_stepEnd, &MSG_KEY_makeEnd, &MSG_KEY_zbzbFatal})
        for (int count = 0; count <= 3; ++count)
            manager.Print(*key, nullptr, params, count);
    manager.CloseXmlFile();
    return 0;
}
