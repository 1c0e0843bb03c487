#include "zbFileElementExtension.h"

#include <cstring>

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

char* zbFileElementExtension::Strtok(char* ioText, const int& iLength, const char* iDelimiters,
                                     int& ioPosition, const int& iKeepDelimiters,
                                     const int& iReturnEmpty)
{
    if (!ioText || ioPosition < 0 || ioPosition >= iLength)
        return nullptr;
    int start = ioPosition;
    for (int i = ioPosition; i < iLength; ++i)
    {
        if (!ioText[i] || !iDelimiters || !std::strchr(iDelimiters, ioText[i]))
            continue;
        if (!iKeepDelimiters)
            ioText[i] = '\0';
        ioPosition = i + 1;
        if (i > start || iReturnEmpty)
            return ioText + start;
        start = i + 1;
    }
    ioPosition = iLength;
    if (start < iLength || (iReturnEmpty && start > 0))
        return ioText + start;
    return nullptr;
}
