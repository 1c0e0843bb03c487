#include "zbTestConversions.h"

#include "zbTestSupport.h"

namespace zbtest
{
std::vector<std::string> Strings(const QORListValQORString& iList)
{
    std::vector<std::string> out;
    for (const QORString& text : iList)
        out.push_back(text.Std());
    return out;
}

QORListValQORString StringList(std::initializer_list<std::string> iTexts)
{
    QORListValQORString list;
    for (const std::string& text : iTexts)
        list.Append(QORString(text.c_str()));
    return list;
}

std::string Written(const std::function<void(zbOFStream&)>& iWrite, int iMode)
{
    TempDir dir;
    {
        zbOFStream out((dir / "written").c_str(), iMode);
        iWrite(out);
    }
    return ReadFile(dir / "written");
}
} // namespace zbtest
