#include "zbMsgKey.h"

#include <algorithm>

zbMsgTagContainer::zbMsgTagContainer(const zbMsgTag& iTag, const zbMsgTag::zbMsgTagMode& iMode,
                                     const unsigned int* iMapping, const int& iSize)
    : _Tag(&iTag), _Mode(iMode), _Mapping(nullptr), _MappingSize(0), _MaxMapping(0)
{
    if (!iMapping || iSize < 1)
        return;
    _Mapping = new unsigned int[static_cast<size_t>(iSize)];
    std::copy(iMapping, iMapping + iSize, _Mapping);
    _MappingSize = iSize;
    _MaxMapping = *std::max_element(iMapping, iMapping + iSize);
}

zbMsgTagContainer::~zbMsgTagContainer()
{
    delete[] _Mapping;
}

QORUnicodeString zbMsgTagContainer::GetMsg(QORUnicodeString* iParams, const int& iCount) const
{
    QORListValQORUnicodeString values;
    if (iParams && iCount > 0 && _Mapping && iCount >= _MappingSize &&
        static_cast<unsigned int>(iCount) > _MaxMapping)
        for (int j = 0; j < _MappingSize; ++j)
            values.Append(iParams[_Mapping[j]]);
    return _Tag->GetMsg(values, _Mode);
}

zbMsgKey::~zbMsgKey()
{
    _Containers.ApplyDelete();
}

void zbMsgKey::AppendMsgTagContainer(const zbMsgTag& iTag, const zbMsgTag::zbMsgTagMode& iMode,
                                     const unsigned int* iMapping, const int& iSize)
{
    _Containers.Append(new zbMsgTagContainer(iTag, iMode, iMapping, iSize));
}

QORUnicodeString zbMsgKey::GetMsg(QORUnicodeString* iParams, const int& iCount) const
{
    QORUnicodeString text;
    for (const auto* container : _Containers)
        text.Append(container->GetMsg(iParams, iCount));
    if (_Containers.Size())
        text.Append("\n");
    return text;
}
