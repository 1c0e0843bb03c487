#ifndef zbHashDic_H
#define zbHashDic_H
// Typed dictionaries: a thin layer over zbHashDico that adds a typed
// assignment and ApplyDelete.  Each typed dictionary is an alias declared
// next to its element type, with the name its statistics report shows:
//   using zbHashDiczbRTViewElement = zbHashDic<zbRTViewElement>;
//   template <> struct zbHashDicValueName<zbRTViewElement> { ... "zbRTViewElement" ... };
// The dictionaries of runtime-view elements and statistics and of path
// finders are declared beside those types.

#include <algorithm>
#include <vector>

#include "zbHashDico.h"

// Name of the value type in the statistics report; specialised next to each alias.
template <class T> struct zbHashDicValueName;

template <class T> class zbHashDic : public zbHashDico
{
  public:
    explicit zbHashDic(int iDimension) : zbHashDico(iDimension) {}
    zbHashDic(const zbHashDic& iOther) = default;
    zbHashDic& operator=(const zbHashDic& iOther)
    {
        zbHashDico::operator=(iOther);
        return *this;
    }

    // The pairs with typed values, and the typed values alone.
    Iterator<T> begin() const { return Iterator<T>(this, true); }
    Iterator<T> end() const { return Iterator<T>(nullptr, true); }
    ValueRange<T> Values() const { return ValueRange<T>(this); }

    // Deletes every stored value (each one once, even when stored under
    // several keys) and empties the dictionary.
    void ApplyDelete()
    {
        std::vector<T*> values;
        values.reserve(static_cast<size_t>(GetNbItems()));
        for (T* value : Values())
            values.push_back(value);
        RemoveAll();
        std::sort(values.begin(), values.end());
        values.erase(std::unique(values.begin(), values.end()), values.end());
        for (T* value : values)
            delete value;
    }
};

template <class T> void zbHashDicoPrintStats(const zbHashDic<T>& iDico, zbOFStream& ioStream)
{
    zbHashDicoPrintStats(iDico, zbHashDicValueName<T>::Text(), ioStream);
}

// Dictionaries whose values are the key type's own lists and strings.
using zbHashDiczbNewString = zbHashDic<zbNewString>;
template <> struct zbHashDicValueName<zbNewString>
{
    static const char* Text() { return "zbNewString"; }
};

using zbHashDicQORListValzbNewString = zbHashDic<QORListValzbNewString>;
template <> struct zbHashDicValueName<QORListValzbNewString>
{
    static const char* Text() { return "QORListValzbNewString"; }
};

#endif
