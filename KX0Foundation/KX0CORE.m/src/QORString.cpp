#include "QORString.h"

#include <cctype>
#include <cstring>

QORString::QORString(const char* iText)
{
    if (iText)
    {
        _Text = iText;
        _IsNull = false;
    }
}

QORString::QORString(const char* iText, size_t iLength)
{
    if (iText)
    {
        _Text.assign(iText, iLength);
        _IsNull = false;
    }
}

QORString& QORString::operator=(const char* iText)
{
    if (iText)
    {
        if (iText != _Text.c_str())
            _Text = iText;
        _IsNull = false;
    }
    else
        Reset();
    return *this;
}

QORString& QORString::operator+=(char iChar)
{
    _Text.push_back(iChar);
    _IsNull = false;
    return *this;
}

QORString QORString::operator+(const char* iText) const
{
    QORString result(*this);
    return result.Append(iText);
}

QORString QORString::operator+(const QORString& iText) const
{
    QORString result(*this);
    return result.Append(iText);
}

QORString operator+(const char* iLeft, const QORString& iRight)
{
    QORString result(iLeft);
    return result.Append(iRight);
}

QORString& QORString::Append(const char* iText)
{
    if (iText)
    {
        _Text.append(iText);
        _IsNull = false;
    }
    return *this;
}

QORString& QORString::Append(const char* iText, size_t iLength)
{
    if (iText)
    {
        _Text.append(iText, iLength);
        _IsNull = false;
    }
    return *this;
}

QORString& QORString::Append(const QORString& iText)
{
    if (!iText._IsNull)
    {
        _Text.append(iText._Text);
        _IsNull = false;
    }
    return *this;
}

QORString& QORString::Insert(int iPos, const char* iText)
{
    if (!iText)
        return *this;
    if (iPos < 0)
        iPos = 0;
    if (static_cast<size_t>(iPos) > _Text.size())
        iPos = static_cast<int>(_Text.size());
    _Text.insert(static_cast<size_t>(iPos), iText);
    _IsNull = false;
    return *this;
}

int QORString::Compare(const char* iOther) const
{
    int c = std::strcmp(_Text.c_str(), iOther ? iOther : "");
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int QORString::Compare(const QORString& iOther) const
{
    int c = _Text.compare(iOther._Text);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

QORString& QORString::ToLower()
{
    for (char& c : _Text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return *this;
}

unsigned int QORString::ComputeHashKey() const
{
    return QORHashBytes(_Text.data(), _Text.size());
}

int QORString::ReplaceSubString(const char* iOld, const char* iNew, int iStart)
{
    if (!iOld || !*iOld || iStart < 0 || static_cast<size_t>(iStart) > _Text.size())
        return -1;
    size_t pos = _Text.find(iOld, static_cast<size_t>(iStart));
    if (pos == std::string::npos)
        return -1;
    _Text.replace(pos, std::strlen(iOld), iNew ? iNew : "");
    return static_cast<int>(pos);
}

int QORString::Find(const char* iSub, int iStart) const
{
    if (!iSub || iStart < 0 || static_cast<size_t>(iStart) > _Text.size())
        return -1;
    size_t pos = _Text.find(iSub, static_cast<size_t>(iStart));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

QORString QORString::SubString(int iStart, int iCount) const
{
    if (iStart < 0)
        iStart = 0;
    if (static_cast<size_t>(iStart) >= _Text.size())
        return QORString("");
    size_t count = iCount < 0 ? std::string::npos : static_cast<size_t>(iCount);
    return QORString(_Text.substr(static_cast<size_t>(iStart), count));
}
