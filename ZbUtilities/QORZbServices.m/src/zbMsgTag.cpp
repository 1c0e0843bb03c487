#include "zbMsgTag.h"

// zbMsgTagComplex::_ListOfzbMsgTagComplex is defined with the context, whose
// unit fixes the construction order of the library's globals.

void zbMsgTag::AppendParameter(const QORUnicodeString& iName)
{
    if (!_ListOfParameter.Locate(iName))
        _ListOfParameter.Append(iName);
}

namespace
{
// What XML 1.0 allows in a document: tab, line feed, carriage return and the
// characters from the blank on, but for surrogates, U+FFFE and U+FFFF.
bool IsXmlChar(QORUnicodeChar iChar)
{
    if (iChar < 0x20)
        return iChar == 0x9 || iChar == 0xA || iChar == 0xD;
    return iChar < 0xD800 || (iChar >= 0xE000 && iChar <= 0xFFFD) ||
           (iChar >= 0x10000 && iChar <= 0x10FFFF);
}

bool NeedsTranscoding(QORUnicodeChar iChar)
{
    return iChar == '&' || iChar == '<' || iChar == '>' || iChar == '\'' || iChar == '"' ||
           !IsXmlChar(iChar);
}

// A character XML cannot hold, as the bytes the console shows for it, each
// written "\xhh": a byte that was not UTF-8 (kept by the string as U+DC80 to
// U+DCFF) is that byte, a control character its code.  A value beyond
// Unicode, which the console shows as U+FFFD, is U+FFFD.
void AppendEscape(QORUnicodeString& oText, QORUnicodeChar iChar)
{
    if (iChar > 0x10FFFF)
    {
        oText.Append(QORUnicodeChar(0xFFFD));
        return;
    }
    unsigned int bytes[3] = {iChar, 0, 0};
    int count = 1;
    if (iChar >= 0xDC80 && iChar <= 0xDCFF)
        bytes[0] = iChar - 0xDC00;
    else if (iChar >= 0x80) // a surrogate, U+FFFE or U+FFFF: three bytes
    {
        bytes[0] = 0xE0 | (iChar >> 12);
        bytes[1] = 0x80 | ((iChar >> 6) & 0x3F);
        bytes[2] = 0x80 | (iChar & 0x3F);
        count = 3;
    }
    static const char kHex[] = "0123456789abcdef";
    for (int i = 0; i < count; ++i)
        oText.Append(QORUnicodeChar('\\'))
            .Append(QORUnicodeChar('x'))
            .Append(QORUnicodeChar(kHex[bytes[i] >> 4]))
            .Append(QORUnicodeChar(kHex[bytes[i] & 0xF]));
}
} // namespace

QORUnicodeString& zbMsgTag::Transcode(QORUnicodeString& ioText)
{
    const std::u32string& chars = ioText.Chars();
    size_t first = 0;
    while (first < chars.size() && !NeedsTranscoding(chars[first]))
        ++first;
    if (first == chars.size())
        return ioText;
    QORUnicodeString text = ioText.SubString(0, static_cast<int>(first));
    for (size_t i = first; i < chars.size(); ++i)
    {
        QORUnicodeChar c = chars[i];
        switch (c)
        {
        case '&':
            text.Append("&amp;");
            break;
        case '<':
            text.Append("&lt;");
            break;
        case '>':
            text.Append("&gt;");
            break;
        case '\'':
            text.Append("&apos;");
            break;
        case '"':
            text.Append("&quot;");
            break;
        default:
            if (IsXmlChar(c))
                text.Append(c);
            else
                AppendEscape(text, c);
        }
    }
    ioText = std::move(text);
    return ioText;
}

QORUnicodeString zbMsgTag::OpeningText(const QORListValQORUnicodeString& iValues) const
{
    QORUnicodeString text("<");
    text.Append(*this);
    for (int i = 1; i <= _ListOfParameter.Size(); ++i)
    {
        text.Append(" ");
        text.Append(_ListOfParameter[i]);
        text.Append("=\"");
        if (i <= iValues.Size())
        {
            QORUnicodeString value(iValues[i]);
            text.Append(Transcode(value));
        }
        else
            text.Append("???");
        text.Append("\"");
    }
    return text;
}

QORUnicodeString zbMsgTagSimple::GetMsg(const QORListValQORUnicodeString& iValues,
                                        const zbMsgTagMode&) const
{
    return OpeningText(iValues).Append("/>");
}

QORUnicodeString zbMsgTagComplex::GetMsg(const QORListValQORUnicodeString& iValues,
                                         const zbMsgTagMode& iMode) const
{
    if (iMode == Open)
    {
        Register(this);
        return OpeningText(iValues).Append(">");
    }
    Unregister(this);
    QORUnicodeString text("</");
    text.Append(*this);
    return text.Append(">");
}

void zbMsgTagComplex::Register(const zbMsgTagComplex* iTag)
{
    _ListOfzbMsgTagComplex.Append(const_cast<zbMsgTagComplex*>(iTag));
}

void zbMsgTagComplex::Unregister(const zbMsgTagComplex* iTag)
{
    QORListPtrzbMsgTagComplex& open = _ListOfzbMsgTagComplex;
    int last = 0;
    for (int i = open.Size(); i >= 1 && !last; --i)
        if (open[i] == iTag)
            last = i;
    open.Size(last ? last - 1 : 0);
}
