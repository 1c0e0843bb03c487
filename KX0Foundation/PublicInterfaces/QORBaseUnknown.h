#ifndef QORBaseUnknown_H
#define QORBaseUnknown_H
// Component model of the foundation: reference-counted objects that answer
// for the interfaces they implement, and creation of an instance of a class
// known by name for an interface identifier.
//
// A class takes part by deriving from QORBaseUnknown and declaring its
// meta-class with the two macros below:
//
//   // header
//   class MyAction : public QORBaseUnknown { QOR_DECLARE_CLASS(MyAction) ... };
//   // source
//   QOR_IMPLEMENT_CLASS(MyAction, QORBaseUnknown)
//   static int fill = QORFillDictionary("MyAction", IID_SomeIntf);
//
// QORCreateClassInstance("MyAction", IID_SomeIntf, &pointer) then creates it.

#include "QORMetaClass.h"

class QORBaseUnknown
{
  public:
    QORBaseUnknown() = default;
    QORBaseUnknown(const QORBaseUnknown&) = delete;
    QORBaseUnknown& operator=(const QORBaseUnknown&) = delete;

    // 0 and *oObject = this (with a new reference) when the object's class
    // implements iIID (or iIID is IID_QORBaseUnknown); else 1 and *oObject = null.
    virtual int QueryInterface(const QORIID& iIID, void** oObject);
    virtual unsigned long AddRef();
    // Drops a reference; deletes the object when none is left.
    virtual unsigned long Release();

    virtual const QORMetaClass* GetMetaObject() const { return MetaObject(); }
    // Class name known to the object model.
    virtual const char* IsA() const { return GetMetaObject()->GetClassName(); }
    // 1 when the object's class is iClassName or derives from it.
    virtual int IsAKindOf(const char* iClassName) const;

    static const QORMetaClass* MetaObject();

  protected:
    virtual ~QORBaseUnknown() = default;

  private:
    unsigned long _RefCount = 1;
};

extern const QORIID IID_QORBaseUnknown;

#define QOR_DECLARE_CLASS(Class)                                                                   \
  public:                                                                                          \
    static const QORMetaClass* MetaObject();                                                       \
    const QORMetaClass* GetMetaObject() const override { return MetaObject(); }                   \
                                                                                                   \
  private:

#define QOR_IMPLEMENT_CLASS(Class, Base)                                                           \
    static QORBaseUnknown* QORCreate_##Class() { return new Class(); }                             \
    const QORMetaClass* Class::MetaObject()                                                        \
    {                                                                                              \
        static QORMetaClass meta(IID_QORBaseUnknown, #Class, Base::MetaObject(), &QORCreate_##Class); \
        return &meta;                                                                              \
    }                                                                                              \
    static const QORMetaClass* QORRegister_##Class = Class::MetaObject();

#endif
