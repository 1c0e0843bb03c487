// Fuzz target: QORMsgCatalog::LoadMsgCatalog on arbitrary catalog files.
//
// A catalog file always loads (malformed entries are skipped).  Every key
// that starts a line of the input is looked up: a message found builds with
// no parameter, with fewer than it uses and with all nine; a message never
// uses a place above 9.  The wildcard fallback is asked for a key below it.

#include <cstdint>
#include <string>

#include "QORMsgCatalog.h"
#include "zbFuzzSupport.h"

namespace
{
const char kTarget[] = "QORMsgCatalogLoad";

bool IsKeyChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '-' || c == '*';
}

void Exercise(const QORMsgCatalog& iCatalog, const std::string& iKey)
{
    QORMsg msg;
    if (iCatalog.GetCatalogMsg(QORString(iKey.c_str()), msg))
    {
        zbfuzz::Check(msg.GetMaxParamIndex() >= 0 && msg.GetMaxParamIndex() <= 9, kTarget,
                      "a parameter place out of 1..9");
        QORUnicodeString params[9];
        for (int i = 0; i < 9; ++i)
            params[i] = QORUnicodeString(std::string(static_cast<size_t>(i), 'p').c_str());
        QORUnicodeString text;
        msg.BuildMessage(text, nullptr, 0);
        msg.BuildMessage(text, params, msg.GetMaxParamIndex() / 2);
        msg.BuildMessage(text, params, 9);
    }
    else
        zbfuzz::Check(msg.IsEmpty() != 0 && iCatalog.GetError().GetLengthInChar() > 0, kTarget,
                      "a key not found without an error or with a message left");
    QORMsg fallback;
    iCatalog.SubstituteCatalogMsg(QORString((iKey + ".below").c_str()), fallback);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    static zbfuzz::Scratch scratch("msgcat");
    if (!zbfuzz::WriteFile(scratch.Path("Fuzz.msgcat"), iData, iSize))
        return 0;
    QORMsgCatalog catalog;
    zbfuzz::Check(catalog.LoadMsgCatalog("Fuzz", scratch.Dir().c_str()) != 0, kTarget,
                  "a readable catalog file refused");

    std::string text(reinterpret_cast<const char*>(iData), iSize);
    int keys = 0;
    for (size_t line = 0; line < text.size() && keys < 64;)
    {
        size_t start = text.find_first_not_of(" \t", line);
        size_t end = start;
        while (end < text.size() && IsKeyChar(text[end]))
            ++end;
        if (start != std::string::npos && end > start)
        {
            Exercise(catalog, text.substr(start, end - start));
            ++keys;
        }
        size_t next = text.find('\n', line);
        if (next == std::string::npos)
            break;
        line = next + 1;
    }
    zbfuzz::Check(catalog.GetNbMessages() <= static_cast<int>(iSize / 2) + 1, kTarget,
                  "more messages than the file can hold");
    zbfuzz::Check(catalog.UnloadMsgCatalog("Fuzz") == 0 && catalog.GetNbMessages() == 0, kTarget,
                  "the catalog does not unload");
    return 0;
}
