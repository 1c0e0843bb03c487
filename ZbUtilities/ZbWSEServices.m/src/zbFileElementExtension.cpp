#include "zbFileElementExtension.h"

#include "zbFileElement.h"

namespace
{
// The target of a link resolved with exactly one child, else null.
zbFileElement* ResolvedTarget(zbFileElement& iElement)
{
    if (!iElement.IsSymbolicLink() || !iElement.IsExpanded())
        return nullptr;
    QORListPtrzbFileElement* children = iElement.GetListOfSubElement();
    return children && children->Size() == 1 ? (*children)[1] : nullptr;
}
} // namespace

zbFileElement* zbFileElementExtension::GetDirectory(zbFileElement& iElement)
{
    if (iElement.IsDirectory())
        return &iElement;
    zbFileElement* target = ResolvedTarget(iElement);
    return target && target->IsDirectory() ? target : nullptr;
}

zbFileElement* zbFileElementExtension::GetFile(zbFileElement& iElement)
{
    if (iElement.IsExisting() && !iElement.IsDirectory() && !iElement.IsSymbolicLink())
        return &iElement;
    zbFileElement* target = ResolvedTarget(iElement);
    return target && target->IsExisting() && !target->IsDirectory() ? target : nullptr;
}
