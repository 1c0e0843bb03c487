#ifndef zbMsgKey_H
#define zbMsgKey_H
// The XML form of one message key: the tags to write, in order, each with
// its mode and the mapping of the message's parameters to its attributes.

#include "QORListPtr.h"
#include "QORUnicodeString.h"
#include "zbMsgTag.h"

// One use of a tag by a message key.
class zbMsgTagContainer
{
  public:
    // iMapping (copied when non-null and iSize >= 1): for each attribute,
    // the 0-based index of the message parameter that gives its value.
    zbMsgTagContainer(const zbMsgTag& iTag, const zbMsgTag::zbMsgTagMode& iMode,
                      const unsigned int* iMapping, const int& iSize);
    virtual ~zbMsgTagContainer();
    zbMsgTagContainer(const zbMsgTagContainer&) = delete;
    zbMsgTagContainer& operator=(const zbMsgTagContainer&) = delete;

    // The tag's text for the message parameters.  The attributes get no
    // value at all (each shows "???") unless the parameters cover every
    // mapping entry.
    QORUnicodeString GetMsg(QORUnicodeString* iParams, const int& iCount) const;

    const zbMsgTag* GetTag() const { return _Tag; }
    zbMsgTag::zbMsgTagMode GetMode() const { return _Mode; }
    int GetMappingSize() const { return _MappingSize; }

  private:
    const zbMsgTag* _Tag;
    zbMsgTag::zbMsgTagMode _Mode;
    unsigned int* _Mapping;
    int _MappingSize;
    unsigned int _MaxMapping;
};

using QORListPtrzbMsgTagContainer = QORListPtr<zbMsgTagContainer>;

class zbMsgKey
{
  public:
    zbMsgKey() = default;
    virtual ~zbMsgKey();
    zbMsgKey(const zbMsgKey&) = delete;
    zbMsgKey& operator=(const zbMsgKey&) = delete;

    void AppendMsgTagContainer(const zbMsgTag& iTag, const zbMsgTag::zbMsgTagMode& iMode,
                               const unsigned int* iMapping, const int& iSize);
    // The texts of all containers, then "\n"; empty without containers.
    QORUnicodeString GetMsg(QORUnicodeString* iParams, const int& iCount) const;
    int GetNbContainers() const { return _Containers.Size(); }
    const zbMsgTagContainer* GetContainer(int iPos) const { return _Containers[iPos]; }

  private:
    QORListPtrzbMsgTagContainer _Containers; // owned
};

#endif
