#ifndef QORMetaClass_H
#define QORMetaClass_H
// Meta-classes of the component model and the class registry.

#include <string>
#include <vector>

class QORBaseUnknown;

// Interface identifier: compared by name.
struct QORIID
{
    const char* _Name;
    bool operator==(const QORIID& iOther) const;
    bool operator!=(const QORIID& iOther) const { return !(*this == iOther); }
};

class QORMetaClass
{
  public:
    using Factory = QORBaseUnknown* (*)();

    // Registers the class under iClassName (a later meta-class of the same
    // name is ignored).  iIID is the class's main interface.
    QORMetaClass(const QORIID& iIID, const char* iClassName, const QORMetaClass* iBase,
                 Factory iFactory);
    QORMetaClass(const QORMetaClass&) = delete;
    QORMetaClass& operator=(const QORMetaClass&) = delete;

    const char* GetClassName() const { return _ClassName.c_str(); }
    const QORMetaClass* GetBase() const { return _Base; }
    const char* GetFWname() const { return _FWname.c_str(); }
    void SetFWname(const char* iFramework) { _FWname = iFramework ? iFramework : ""; }
    // Adds an interface the class implements.
    void AddInterface(const QORIID& iIID);
    // 1 when this class or one of its bases implements iIID.
    int Implements(const QORIID& iIID) const;
    QORBaseUnknown* CreateInstance() const { return _Factory ? _Factory() : nullptr; }

    // Registered meta-class of that name, or null.
    static QORMetaClass* Find(const char* iClassName);

  private:
    std::string _ClassName;
    std::string _FWname;
    const QORMetaClass* _Base;
    Factory _Factory;
    std::vector<std::string> _Interfaces;
};

// Declares that class iClassName implements iIID.  0 on success, 1 when the
// class is not registered.  Its int result lets a source file call it from a
// static initialiser.
int QORFillDictionary(const char* iClassName, const QORIID& iIID);
// Same as QORFillDictionary, for a list of interfaces.
int AddDictionary(const char* iClassName, const QORIID* iIIDs, int iCount);

// Creates an instance of iClassName and asks it for iIID.  0 with *oObject
// set (one reference held by the caller); 1 when the class is unknown, 2 when
// it cannot be created, 3 when it does not implement iIID.
int QORCreateClassInstance(const char* iClassName, const QORIID& iIID, void** oObject);

#endif
