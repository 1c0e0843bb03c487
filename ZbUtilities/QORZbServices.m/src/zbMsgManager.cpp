#include "zbMsgManager.h"

#include <vector>

#include "zbOFStream.h"

zbMsgManager::zbMsgManager(const char* iCatalogName) : _Status(-1), _CatalogName(iCatalogName)
{
}

zbMsgManager::~zbMsgManager() = default;

int zbMsgManager::LoadCatalog(const char* iCatalogName)
{
    bool otherName = iCatalogName && _CatalogName != iCatalogName;
    if (_Status != -1 && !otherName)
        return _Status; // a failed load is not retried under the same name
    if (_Status != -1)
        _Catalog.UnloadMsgCatalog(_CatalogName);
    if (otherName)
        _CatalogName = iCatalogName;
    _Compositions.clear();
    _Status = _Catalog.LoadMsgCatalog(_CatalogName, nullptr);
    if (_Status == 0)
        zbStderr.Print("%s\n", _Catalog.GetError().ConvertToChar().CastToCharPtr());
    return _Status;
}

namespace
{
// The parameters are marked in a message by values beyond Unicode, which no
// text of a catalog can hold: kMark plus the parameter's index.
const QORUnicodeChar kMark = 0x110000;

// Appends the UTF-8 form of iText to oText.
void AppendUTF8(const QORUnicodeString& iText, std::string& oText)
{
    const size_t start = oText.size();
    for (QORUnicodeChar c : iText.Chars())
    {
        if (c >= 0x80)
        {
            oText.resize(start);
            oText += iText.ConvertToUTF8();
            return;
        }
        oText += static_cast<char>(c);
    }
}
} // namespace

QORUnicodeString zbMsgManager::GetMsg(const QORString& iOuterKey, const QORString* iKey,
                                      QORUnicodeString* iParams, int iCount)
{
    if (!iKey)
        return GetMsg(iOuterKey, iParams, iCount);
    QORUnicodeString inner = GetMsg(*iKey, iParams, iCount);
    return GetMsg(iOuterKey, &inner, 1);
}

const zbMsgManager::Composition& zbMsgManager::Composed(const QORString& iOuterKey,
                                                        const QORString* iKey, int iCount)
{
    for (const Composition& known : _Compositions)
        if (known._Count == iCount && known._HasKey == (iKey != nullptr) &&
            known._OuterKey == iOuterKey.Std() && (!iKey || known._Key == iKey->Std()))
            return known;
    std::vector<QORUnicodeString> marks;
    for (int i = 0; i < iCount; ++i)
        marks.emplace_back(kMark + static_cast<QORUnicodeChar>(i), 1);
    const QORUnicodeString text = GetMsg(iOuterKey, iKey, marks.data(), iCount);

    // The first lookup may have loaded the catalog, which drops what was
    // kept: the new composition is added after.
    if (_Compositions.size() >= 16)
        _Compositions.erase(_Compositions.begin());
    _Compositions.push_back(Composition{
        iOuterKey.Std(), iKey ? iKey->Std() : std::string(), iKey != nullptr, iCount, {}, {}});
    Composition& made = _Compositions.back();
    const std::u32string& chars = text.Chars();
    size_t literal = 0;
    for (size_t at = 0; at <= chars.size(); ++at)
    {
        if (at < chars.size() && chars[at] < kMark)
            continue;
        if (at > literal)
        {
            made._Pieces.push_back(static_cast<int>(made._Texts.size()));
            made._Texts.push_back(
                text.SubString(static_cast<int>(literal), static_cast<int>(at - literal))
                    .ConvertToUTF8());
        }
        if (at < chars.size())
            made._Pieces.push_back(-1 - static_cast<int>(chars[at] - kMark));
        literal = at + 1;
    }
    return made;
}

int zbMsgManager::Compose(const QORString& iOuterKey, const QORString* iKey,
                          const QORUnicodeString* iParams, int iCount, std::string& oText)
{
    const int count = iParams && iCount > 0 ? iCount : 0;
    const Composition& made = Composed(iOuterKey, iKey, count);
    const size_t start = oText.size();
    // Room for an ASCII text and a line end: one allocation at most.
    size_t length = start + 1;
    for (int piece : made._Pieces)
        length += piece >= 0 ? made._Texts[static_cast<size_t>(piece)].size()
                             : iParams[-1 - piece].Chars().size();
    oText.reserve(length);
    for (int piece : made._Pieces)
        if (piece >= 0)
            oText += made._Texts[static_cast<size_t>(piece)];
        else
            AppendUTF8(iParams[-1 - piece], oText);
    if (oText.size() == start)
        return 0;
    // As a C string, the text ends at its first null character.
    const size_t end = oText.find('\0', start);
    if (end != std::string::npos)
        oText.resize(end);
    return 1;
}

int zbMsgManager::HasMsg(const QORString& iKey)
{
    return _GetCatalogMsg(iKey)->IsEmpty() ? 0 : 1;
}

QORMsg* zbMsgManager::_GetCatalogMsg(const QORString& iKey)
{
    LookUp(iKey);
    return &_Msg;
}

bool zbMsgManager::LookUp(const QORString& iKey)
{
    if (_Status == -1)
        LoadCatalog(nullptr);
    if (_Catalog.GetCatalogMsg(iKey, _Msg))
        return true;
    return _Catalog.SubstituteCatalogMsg(iKey, _Msg) != 0;
}

QORUnicodeString zbMsgManager::_CheckAndBuildMsg(QORUnicodeString* iParams, const int& iCount)
{
    int count = iParams && iCount > 0 ? iCount : 0;
    int max = _Msg.GetMaxParamIndex();
    QORUnicodeString text;
    if (max <= count)
    {
        _Msg.BuildMessage(text, iParams, count);
        return text;
    }
    std::vector<QORUnicodeString> filled(static_cast<size_t>(max));
    for (int i = 0; i < max; ++i)
        filled[static_cast<size_t>(i)] = i < count ? iParams[i] : QORUnicodeString("???");
    _Msg.BuildMessage(text, filled.data(), max);
    return text;
}

QORUnicodeString zbMsgManager::GetMsg(const QORString& iKey, QORUnicodeString* iParams,
                                      const int& iCount)
{
    if (!LookUp(iKey))
        return _Catalog.GetError();
    return _CheckAndBuildMsg(iParams, iCount);
}

QORUnicodeString zbMsgManager::GetMsg(const QORString& iKey)
{
    return GetMsg(iKey, nullptr, 0);
}

QORUnicodeString zbMsgManager::GetMsg(const QORString& iKey, const QORUnicodeString& iP1)
{
    _Params[0] = iP1;
    return GetMsg(iKey, _Params, 1);
}

QORUnicodeString zbMsgManager::GetMsg(const QORString& iKey, const QORUnicodeString& iP1,
                                      const QORUnicodeString& iP2)
{
    _Params[0] = iP1, _Params[1] = iP2;
    return GetMsg(iKey, _Params, 2);
}

QORUnicodeString zbMsgManager::GetMsg(const QORString& iKey, const QORUnicodeString& iP1,
                                      const QORUnicodeString& iP2, const QORUnicodeString& iP3)
{
    _Params[0] = iP1, _Params[1] = iP2, _Params[2] = iP3;
    return GetMsg(iKey, _Params, 3);
}

QORUnicodeString zbMsgManager::GetMsg(const QORString& iKey, const QORUnicodeString& iP1,
                                      const QORUnicodeString& iP2, const QORUnicodeString& iP3,
                                      const QORUnicodeString& iP4)
{
    _Params[0] = iP1, _Params[1] = iP2, _Params[2] = iP3, _Params[3] = iP4;
    return GetMsg(iKey, _Params, 4);
}

QORUnicodeString zbMsgManager::GetMsg(const QORString& iKey, const QORUnicodeString& iP1,
                                      const QORUnicodeString& iP2, const QORUnicodeString& iP3,
                                      const QORUnicodeString& iP4, const QORUnicodeString& iP5)
{
    _Params[0] = iP1, _Params[1] = iP2, _Params[2] = iP3, _Params[3] = iP4, _Params[4] = iP5;
    return GetMsg(iKey, _Params, 5);
}

QORUnicodeString zbMsgManager::GetMsg(const QORString& iKey, const QORUnicodeString& iP1,
                                      const QORUnicodeString& iP2, const QORUnicodeString& iP3,
                                      const QORUnicodeString& iP4, const QORUnicodeString& iP5,
                                      const QORUnicodeString& iP6)
{
    _Params[0] = iP1, _Params[1] = iP2, _Params[2] = iP3, _Params[3] = iP4, _Params[4] = iP5,
    _Params[5] = iP6;
    return GetMsg(iKey, _Params, 6);
}
