#include "QORBaseUnknown.h"

#include <cstring>
#include <map>

const QORIID IID_QORBaseUnknown = {"QORBaseUnknown"};

bool QORIID::operator==(const QORIID& iOther) const
{
    return _Name == iOther._Name || (_Name && iOther._Name && std::strcmp(_Name, iOther._Name) == 0);
}

namespace
{
std::map<std::string, QORMetaClass*>& Registry()
{
    static std::map<std::string, QORMetaClass*> registry;
    return registry;
}
} // namespace

QORMetaClass::QORMetaClass(const QORIID& iIID, const char* iClassName, const QORMetaClass* iBase,
                           Factory iFactory)
    : _ClassName(iClassName ? iClassName : ""), _Base(iBase), _Factory(iFactory)
{
    AddInterface(iIID);
    Registry().emplace(_ClassName, this);
}

void QORMetaClass::AddInterface(const QORIID& iIID)
{
    if (!iIID._Name)
        return;
    for (const std::string& name : _Interfaces)
        if (name == iIID._Name)
            return;
    _Interfaces.emplace_back(iIID._Name);
}

int QORMetaClass::Implements(const QORIID& iIID) const
{
    if (!iIID._Name)
        return 0;
    for (const QORMetaClass* meta = this; meta; meta = meta->_Base)
        for (const std::string& name : meta->_Interfaces)
            if (name == iIID._Name)
                return 1;
    return 0;
}

QORMetaClass* QORMetaClass::Find(const char* iClassName)
{
    if (!iClassName)
        return nullptr;
    auto it = Registry().find(iClassName);
    return it == Registry().end() ? nullptr : it->second;
}

int QORFillDictionary(const char* iClassName, const QORIID& iIID)
{
    QORMetaClass* meta = QORMetaClass::Find(iClassName);
    if (!meta)
        return 1;
    meta->AddInterface(iIID);
    return 0;
}

int AddDictionary(const char* iClassName, const QORIID* iIIDs, int iCount)
{
    int failures = 0;
    for (int i = 0; iIIDs && i < iCount; ++i)
        failures += QORFillDictionary(iClassName, iIIDs[i]);
    return failures;
}

int QORCreateClassInstance(const char* iClassName, const QORIID& iIID, void** oObject)
{
    if (oObject)
        *oObject = nullptr;
    const QORMetaClass* meta = QORMetaClass::Find(iClassName);
    if (!meta || !oObject)
        return 1;
    QORBaseUnknown* object = meta->CreateInstance();
    if (!object)
        return 2;
    int rc = object->QueryInterface(iIID, oObject);
    object->Release();
    return rc == 0 ? 0 : 3;
}

const QORMetaClass* QORBaseUnknown::MetaObject()
{
    static QORMetaClass meta(IID_QORBaseUnknown, "QORBaseUnknown", nullptr, nullptr);
    return &meta;
}

int QORBaseUnknown::QueryInterface(const QORIID& iIID, void** oObject)
{
    if (!oObject)
        return 1;
    if (iIID == IID_QORBaseUnknown || GetMetaObject()->Implements(iIID))
    {
        *oObject = this;
        AddRef();
        return 0;
    }
    *oObject = nullptr;
    return 1;
}

unsigned long QORBaseUnknown::AddRef()
{
    return ++_RefCount;
}

unsigned long QORBaseUnknown::Release()
{
    unsigned long left = --_RefCount;
    if (left == 0)
        delete this;
    return left;
}

int QORBaseUnknown::IsAKindOf(const char* iClassName) const
{
    if (!iClassName)
        return 0;
    for (const QORMetaClass* meta = GetMetaObject(); meta; meta = meta->GetBase())
        if (std::strcmp(meta->GetClassName(), iClassName) == 0)
            return 1;
    return 0;
}
