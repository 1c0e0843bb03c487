// Reports whose texts are arbitrary bytes, written to a real XML trace file:
// the application name, the attributes of a simple and of a complex tag, free
// text, the closing lines.  The file must be well-formed for libxml2, and a
// parameter that is already good XML text must come back from the parser as
// it went in (attribute values normalised as XML 1.0 says).
//
// The input is split as a multi-file input: application name, first and
// second parameter, free text.

#include <cstdint>
#include <cstring>
#include <string>

#include <libxml/chvalid.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include "zbContext.h"
#include "zbFuzzSupport.h"
#include "zbTraceManager.h"

namespace
{
const char kTarget[] = "zbTraceManagerPrint";

// Keys of a simple tag with two attributes and a complex tag with one.
int Keys(const QORString& iName, QORListValQORString& oWords)
{
    static const char* const kMacros[][2] = {
        {"KEY_TagID", "R S"},
        {"KEY_TagID_R_Name", "Report"},
        {"KEY_TagID_R_Type", "Simple"},
        {"KEY_TagID_R_ListOfParameter", "A B"},
        {"KEY_TagID_S_Name", "Step"},
        {"KEY_TagID_S_Type", "Complex"},
        {"KEY_TagID_S_ListOfParameter", "Name"},
        {"KEY_MsgID", "zbzbError stepStart"},
        {"KEY_MsgID_zbzbError_ListOfTagID", "R"},
        {"KEY_MsgID_zbzbError_ListOfTagMode", "0"},
        {"KEY_MsgID_zbzbError_ListOfTagMapping", "0 1"},
        {"KEY_MsgID_stepStart_ListOfTagID", "S"},
        {"KEY_MsgID_stepStart_ListOfTagMode", "1"},
        {"KEY_MsgID_stepStart_ListOfTagMapping", "1"},
    };
    for (const auto& macro : kMacros)
        if (iName == macro[0])
        {
            std::string words = macro[1];
            for (size_t at = 0, end = 0; at < words.size(); at = end + 1)
            {
                end = words.find(' ', at);
                end = end == std::string::npos ? words.size() : end;
                oWords.Append(QORString(words.substr(at, end - at).c_str()));
            }
            return 1;
        }
    return 0;
}

// What the parser must give back for iText when iText is good XML text:
// UTF-8 (a byte that is not comes out of the string's reading as a
// surrogate) of characters XML allows, by libxml2's own judgement; false
// else.
bool Expected(const std::string& iText, std::string& oValue)
{
    const QORUnicodeString text(iText.data(), iText.size());
    for (QORUnicodeChar c : text.Chars())
        if (!xmlIsCharQ(c))
            return false;
    // Line ends become line feeds, then blanks in an attribute value.
    oValue.clear();
    for (size_t at = 0; at < iText.size(); ++at)
    {
        char c = iText[at];
        if (c == '\r' && at + 1 < iText.size() && iText[at + 1] == '\n')
            continue;
        oValue += c == '\t' || c == '\n' || c == '\r' ? ' ' : c;
    }
    return true;
}

void CheckAttribute(xmlNode* iNode, const char* iName, const std::string& iSent)
{
    std::string want;
    if (!iNode || !Expected(iSent, want))
        return;
    xmlChar* value = xmlGetProp(iNode, reinterpret_cast<const xmlChar*>(iName));
    zbfuzz::Check(value && want == reinterpret_cast<const char*>(value), kTarget,
                  "an attribute value did not come back as it was sent");
    xmlFree(value);
}

xmlNode* Element(xmlNode* iParent, const char* iName)
{
    for (xmlNode* node = iParent ? iParent->children : nullptr; node; node = node->next)
        if (node->type == XML_ELEMENT_NODE &&
            !std::strcmp(iName, reinterpret_cast<const char*>(node->name)))
            return node;
    return nullptr;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    // Every write of the trace is synchronous: a memory file system keeps it fast.
    static zbfuzz::Scratch scratch("trace", ::access("/dev/shm", W_OK) ? "/tmp" : "/dev/shm");
    static zbTraceManager manager{QORString("zbXmlKeys.mk")};
    static const int loaded = manager.LoadXmlKeys(Keys);
    zbfuzz::Check(loaded == 0, kTarget, "the keys do not load");

    std::vector<std::string> parts = zbfuzz::Split(iData, iSize, 4);
    parts.resize(4);
    QORUnicodeString p[2] = {QORUnicodeString(parts[1].data(), parts[1].size()),
                             QORUnicodeString(parts[2].data(), parts[2].size())};
    QORUnicodeString free(parts[3].data(), parts[3].size());
    const QORString file(scratch.Path("trace.xml").c_str());
    zbfuzz::Check(manager.SetXmlFileName(&file, parts[0].c_str(), 0) == 1, kTarget,
                  "the trace file does not open");
    manager.Print(MSG_KEY_stepStart, nullptr, p, 2);
    manager.Print(MSG_KEY_zbzbError, nullptr, p, 2);
    manager.Print(nullptr, free);
    manager.CloseXmlFile();

    const std::string text = zbfuzz::ReadFile(file.CastToCharPtr());
    xmlDoc* doc = xmlReadMemory(text.data(), static_cast<int>(text.size()), "trace.xml", nullptr,
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    zbfuzz::Check(doc != nullptr, kTarget, "the trace is not well-formed XML");
    xmlNode* root = xmlDocGetRootElement(doc);
    // The name stops at its first null byte, as a C string does.
    CheckAttribute(root, "Name", parts[0].c_str());
    CheckAttribute(Element(root, "Step"), "Name", parts[2]);
    CheckAttribute(Element(Element(root, "Step"), "Report"), "A", parts[1]);
    CheckAttribute(Element(Element(root, "Step"), "Report"), "B", parts[2]);
    xmlFreeDoc(doc);
    return 0;
}
