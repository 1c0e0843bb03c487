#ifndef QORHashDicS_H
#define QORHashDicS_H
// Typed string-keyed dictionary: a thin typed layer over QORHashDicoS.
//
// A typed dictionary is an alias declared next to its element type:
//   using QORHashDicSzbMacroValue = QORHashDicS<zbMacroValue>;
// It does not own its values unless the owner calls ApplyDelete.

#include "QORHashDicoS.h"

template <class T> class QORHashDicS : public QORHashDicoS
{
  public:
    explicit QORHashDicS(int iDimension) : QORHashDicoS(iDimension) {}

    int Insert(const QORString& iKey, T* iValue) { return QORHashDicoS::Insert(iKey, iValue); }
    T* Locate(const QORString& iKey) const { return static_cast<T*>(QORHashDicoS::Locate(iKey)); }
    T* LocatePosition(const QORString& iKey, int& oBucket, int& oPosition) const
    {
        return static_cast<T*>(QORHashDicoS::LocatePosition(iKey, oBucket, oPosition));
    }
    T* Retrieve(int iBucket, int iPosition, QORString* oKey = nullptr) const
    {
        return static_cast<T*>(QORHashDicoS::Retrieve(iBucket, iPosition, oKey));
    }
    T* Next(int& ioBucket, int& ioPosition, QORString* oKey = nullptr) const
    {
        return static_cast<T*>(QORHashDicoS::Next(ioBucket, ioPosition, oKey));
    }
    T* Remove(const QORString& iKey) { return static_cast<T*>(QORHashDicoS::Remove(iKey)); }

    // The pairs with typed values, and the typed values alone.
    Iterator<T> begin() const { return Iterator<T>(this, true); }
    Iterator<T> end() const { return Iterator<T>(nullptr, true); }
    ValueRange<T> Values() const { return ValueRange<T>(this); }

    // Deletes every value and empties the dictionary.
    void ApplyDelete()
    {
        for (T* value : Values())
            delete value;
        RemoveAll();
    }
};

#endif
