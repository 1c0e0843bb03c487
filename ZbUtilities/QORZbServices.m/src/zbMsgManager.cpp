#include "zbMsgManager.h"

#include <vector>

#include "zbOFStream.h"

zbMsgManager::zbMsgManager(const char* iCatalogName) : _Status(-1), _CatalogName(iCatalogName) {}

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
    _Status = _Catalog.LoadMsgCatalog(_CatalogName, nullptr);
    if (_Status == 0)
        zbStderr.Print("%s\n", _Catalog.GetError().ConvertToChar().CastToCharPtr());
    return _Status;
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
