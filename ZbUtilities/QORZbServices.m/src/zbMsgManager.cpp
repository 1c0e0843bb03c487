#include "zbMsgManager.h"

#include <cstring>
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

const zbMsgManager::Composition& zbMsgManager::Compose(const QORString& iOuterKey,
                                                       const QORString* iKey, int iCount)
{
    for (const Composition& known : _Compositions)
        if (known._Count == iCount && known._HasKey == (iKey != nullptr) &&
            known._OuterKey == iOuterKey.Std() && (!iKey || known._Key == iKey->Std()))
            return known;
    // The messages built the usual way around parameters that mark their
    // places: "\1", the parameter's index as a letter, "\1".
    std::vector<QORUnicodeString> marks;
    for (int i = 0; i < iCount; ++i)
        marks.emplace_back(std::string{'\1', static_cast<char>('a' + i), '\1'}.c_str());
    QORUnicodeString* params = marks.empty() ? nullptr : marks.data();
    QORUnicodeString text;
    if (iKey)
    {
        QORUnicodeString inner = GetMsg(*iKey, params, iCount);
        text = GetMsg(iOuterKey, &inner, 1);
    }
    else
        text = GetMsg(iOuterKey, params, iCount);
    const std::string built = text.ConvertToUTF8();
    const std::string whole(built.c_str());
    // The same with empty parameters: what the literal pieces must give.
    std::vector<QORUnicodeString> empty(static_cast<size_t>(iCount));
    QORUnicodeString* none = empty.empty() ? nullptr : empty.data();
    if (iKey)
    {
        QORUnicodeString inner = GetMsg(*iKey, none, iCount);
        text = GetMsg(iOuterKey, &inner, 1);
    }
    else
        text = GetMsg(iOuterKey, none, iCount);
    const std::string bare = text.ConvertToUTF8();

    // The first lookup may have loaded the catalog, which drops what was
    // kept: the new composition is added after.
    if (_Compositions.size() >= 16)
        _Compositions.erase(_Compositions.begin());
    _Compositions.push_back(Composition{iOuterKey.Std(),
                                        iKey ? iKey->Std() : std::string(),
                                        iKey != nullptr,
                                        iCount,
                                        true,
                                        {},
                                        {}});
    Composition& made = _Compositions.back();
    std::string literal;
    for (size_t at = 0; at < whole.size(); ++at)
    {
        if (whole[at] != '\1')
        {
            literal += whole[at];
            continue;
        }
        const int index = at + 2 < whole.size() && whole[at + 2] == '\1' ? whole[at + 1] - 'a' : -1;
        if (index < 0 || index >= iCount)
        {
            // The catalog's own text holds the mark's character.
            made._Usable = false;
            break;
        }
        if (!literal.empty())
        {
            made._Pieces.push_back(static_cast<int>(made._Texts.size()));
            made._Texts.push_back(literal);
            literal.clear();
        }
        made._Pieces.push_back(-1 - index);
        at += 2;
    }
    if (!literal.empty())
    {
        made._Pieces.push_back(static_cast<int>(made._Texts.size()));
        made._Texts.push_back(literal);
    }
    std::string literals;
    for (const std::string& piece : made._Texts)
        literals += piece;
    if (literals != bare.c_str())
        made._Usable = false;
    return made;
}

bool zbMsgManager::ComposeAscii(const QORString& iOuterKey, const QORString* iKey,
                                const QORUnicodeString* iParams, int iCount, std::string& oText)
{
    const int count = iParams && iCount > 0 ? iCount : 0;
    if (count > 6)
        return false;
    for (int i = 0; i < count; ++i)
        for (QORUnicodeChar c : iParams[i].Chars())
            if (c == 0 || c > 0x7f)
                return false;
    const Composition& made = Compose(iOuterKey, iKey, count);
    if (!made._Usable)
        return false;
    size_t length = 0;
    for (int piece : made._Pieces)
        length += piece >= 0 ? made._Texts[static_cast<size_t>(piece)].size()
                             : iParams[-1 - piece].Chars().size();
    const size_t start = oText.size();
    oText.resize(start + length);
    char* out = &oText[start];
    for (int piece : made._Pieces)
    {
        if (piece >= 0)
        {
            const std::string& text = made._Texts[static_cast<size_t>(piece)];
            std::memcpy(out, text.data(), text.size());
            out += text.size();
            continue;
        }
        for (QORUnicodeChar c : iParams[-1 - piece].Chars())
            *out++ = static_cast<char>(c);
    }
    return true;
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
