#ifndef zbMsgTag_H
#define zbMsgTag_H
// XML elements of the trace file.  A tag is its element name (the
// QORUnicodeString it is) with the names of its attributes.  A simple tag
// is written whole ("<Name A=\"v\"/>"); a complex tag is opened (mode 1,
// "<Name A=\"v\">") and closed later (any other mode, "</Name>").  The
// complex tags opened and not yet closed are kept, in opening order, in one
// process-wide list, so that closing the trace file can close them.

#include "QORListPtr.h"
#include "QORUnicodeString.h"

class zbMsgTag : public QORUnicodeString
{
  public:
    enum zbMsgTagMode
    {
        Mode0 = 0,
        Open = 1,
        Close = 2
    };

    explicit zbMsgTag(const QORUnicodeString& iName) : QORUnicodeString(iName) {}
    virtual ~zbMsgTag() = default;

    // Appends an attribute name unless the tag already has it.
    void AppendParameter(const QORUnicodeString& iName);
    int GetNumberOfParameter() const { return _ListOfParameter.Size(); }
    const QORListValQORUnicodeString& GetListOfParameter() const { return _ListOfParameter; }

    // The element's text for the attribute values iValues (attribute i gets
    // value i, escaped, or "???" when there are fewer values).
    virtual QORUnicodeString GetMsg(const QORListValQORUnicodeString& iValues,
                                    const zbMsgTagMode& iMode) const = 0;

    // Escapes ioText for XML in place (& < > ' ") and returns it.  What XML
    // 1.0 cannot hold at all (control characters but tab, line feed and
    // carriage return; bytes that were not UTF-8; U+FFFE, U+FFFF) is written
    // as the bytes the console shows for it, each as the visible "\xhh"
    // (ctl\x01name, latin1\xe9name), so that the UTF-8 text is always
    // well-formed.
    static QORUnicodeString& Transcode(QORUnicodeString& ioText);

  protected:
    // "<Name" and the attributes, without the end of the element.
    QORUnicodeString OpeningText(const QORListValQORUnicodeString& iValues) const;

  private:
    QORListValQORUnicodeString _ListOfParameter;
};

class zbMsgTagSimple : public zbMsgTag
{
  public:
    explicit zbMsgTagSimple(const QORUnicodeString& iName) : zbMsgTag(iName) {}
    // The mode is not used.
    QORUnicodeString GetMsg(const QORListValQORUnicodeString& iValues,
                            const zbMsgTagMode& iMode) const override;
};

class zbMsgTagComplex;
using QORListPtrzbMsgTagComplex = QORListPtr<zbMsgTagComplex>;

class zbMsgTagComplex : public zbMsgTag
{
  public:
    explicit zbMsgTagComplex(const QORUnicodeString& iName) : zbMsgTag(iName) {}
    // Mode 1 opens the element and registers the tag; any other mode closes
    // it and unregisters it.
    QORUnicodeString GetMsg(const QORListValQORUnicodeString& iValues,
                            const zbMsgTagMode& iMode) const override;

    // Appends the tag to the open list.
    static void Register(const zbMsgTagComplex* iTag);
    // Removes the entries from the end of the open list down to and
    // including the last occurrence of iTag (tags opened after it go with
    // it); a tag that is not in the list empties it.
    static void Unregister(const zbMsgTagComplex* iTag);

    // The open complex tags, in opening order (not owned).
    static QORListPtrzbMsgTagComplex _ListOfzbMsgTagComplex;
};

#endif
