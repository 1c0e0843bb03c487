#include "zbMsgTag.h"

// zbMsgTagComplex::_ListOfzbMsgTagComplex is defined with the context, whose
// unit fixes the construction order of the library's globals.

void zbMsgTag::AppendParameter(const QORUnicodeString& iName)
{
    if (!_ListOfParameter.Locate(iName))
        _ListOfParameter.Append(iName);
}

QORUnicodeString& zbMsgTag::Transcode(QORUnicodeString& ioText)
{
    // The ampersand first, so that no entity is escaped twice.
    ioText.ReplaceAll("&", "&amp;");
    ioText.ReplaceAll("<", "&lt;");
    ioText.ReplaceAll(">", "&gt;");
    ioText.ReplaceAll("'", "&apos;");
    ioText.ReplaceAll("\"", "&quot;");
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
