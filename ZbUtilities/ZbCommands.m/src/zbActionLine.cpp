#include "zbActionLine.h"

#include "zbOFStream.h"

const char* const zbActionLine::_delim = "%";
const char zbActionLine::_Quote = '"';

namespace
{
void Add(QORString& ioLine, const char* iValue, const char* iSeparator, int iQuoted)
{
    ioLine += iSeparator ? iSeparator : "";
    if (iQuoted)
        ioLine += zbActionLine::_Quote;
    ioLine += iValue ? iValue : "";
    if (iQuoted)
        ioLine += zbActionLine::_Quote;
}

int Replace(QORString& ioLine, const char* iName, const QORString& iValue)
{
    if (!iName)
        return -1;
    QORString placeholder = QORString(zbActionLine::_delim) + iName + zbActionLine::_delim;
    return ioLine.ReplaceSubString(placeholder, iValue);
}
} // namespace

zbActionLine::~zbActionLine() = default;

void zbActionLine::SetStaticPart(const QORString& iValue)
{
    _StaticPart = iValue;
    _WholeCommand = _StaticPart;
}

void zbActionLine::AddToStaticPart(const char* Value, const char* Separator, const int Quoted)
{
    Add(_StaticPart, Value, Separator, Quoted);
    _WholeCommand = _StaticPart;
}

void zbActionLine::AddToStaticPart(const QORString& Value, const char* Separator, const int Quoted)
{
    AddToStaticPart(Value.CastToCharPtr(), Separator, Quoted);
}

void zbActionLine::AddToStaticPart(const QORListValQORString& Values, const char* Separator,
                                   const int Quoted)
{
    for (const QORString& value : Values)
        Add(_StaticPart, value, Separator, Quoted);
    _WholeCommand = _StaticPart;
}

int zbActionLine::ReplaceIntoStaticPart(const char* Name, const QORString& Value)
{
    return Replace(_StaticPart, Name, Value);
}

void zbActionLine::ResetDynamicPart()
{
    _WholeCommand = _StaticPart;
}

void zbActionLine::AddToDynamicPart(const char* Value, const char* Separator, const int Quoted)
{
    Add(_WholeCommand, Value, Separator, Quoted);
}

void zbActionLine::AddToDynamicPart(const QORString& Value, const char* Separator, const int Quoted)
{
    Add(_WholeCommand, Value, Separator, Quoted);
}

void zbActionLine::AddToDynamicPart(const QORListValQORString& Values, const char* Separator,
                                    const int Quoted)
{
    for (const QORString& value : Values)
        Add(_WholeCommand, value, Separator, Quoted);
}

int zbActionLine::ReplaceIntoDynamicPart(const char* Name, const QORString& Value)
{
    return Replace(_WholeCommand, Name, Value);
}

void zbActionLine::Dump(zbOFStream& oStream)
{
    oStream.Print("#  Static  command part: [%s]\n", _StaticPart.CastToCharPtr());
    oStream.Print("#  Whole   command     : [%s]\n", _WholeCommand.CastToCharPtr());
}
