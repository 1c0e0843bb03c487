#include "zbFileElement.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "QORHashDicoS.h"
#include "zbFileElementPrivate.h"

using namespace zbFileElementPrivate;

namespace
{
const char kBadLinkWarning[] = "# Warning in CompareList() : bad symbolic link : ";
const char kNoInformation[] = "# Warning in CompareList() : no information available about file (";
} // namespace

// One comparison under way: how it compares and what it found.
struct zbFileElement::Comparison
{
    const CompareOptions& _Options;
    Differences& _Found;

    void Directories(const zbFileElement* iFirst, const zbFileElement* iSecond);
    // iF of the first tree against iS of the second (null: iF has none).
    void Child(zbFileElement* iF, zbFileElement* iS);
    // iX (iReported, or its link's target) against iS, by type and record.
    void Nodes(zbFileElement* iReported, const zbFileElement* iX, const zbFileElement* iS);
    // The children of iSecond left unmatched (iMatched[i - 1] for child i).
    void Removals(const zbFileElement& iSecond, const std::string& iMatched);
};

int zbFileElement::Differences::Size() const
{
    return _Added.Size() + _Removed.Size() + _TypeChanged.Size() + _SizeChanged.Size() +
           _Newer.Size() + _TimeChanged.Size() + _LinkChanged.Size() + _ModeChanged.Size();
}

zbFileElement::Differences zbFileElement::Compare(const zbFileElement* iFirst,
                                                  const zbFileElement* iSecond,
                                                  const CompareOptions& iOptions)
{
    Differences found;
    Comparison{iOptions, found}.Directories(iFirst, iSecond);
    return found;
}

int zbFileElement::CompareList(const zbFileElement* iFirst, const zbFileElement* iSecond,
                               QORListPtrzbFileElement& oAdded, QORListPtrzbFileElement& oRemoved,
                               QORListPtrzbFileElement& oTypeChanged,
                               QORListPtrzbFileElement& oSizeChanged,
                               QORListPtrzbFileElement& oNewer,
                               QORListPtrzbFileElement& oTimeChanged,
                               QORListPtrzbFileElement& oLinkChanged,
                               QORListPtrzbFileElement* oModeChanged, const int& iLinkMode,
                               const int& iKeepUnselected, const int& iWholeDirectory)
{
    CompareOptions options;
    options._LinkMode = iLinkMode;
    options._KeepUnselected = iKeepUnselected;
    options._WholeDirectory = iWholeDirectory;
    options._Modes = oModeChanged ? 1 : 0;
    const Differences found = Compare(iFirst, iSecond, options);
    oAdded.Append(found._Added);
    oRemoved.Append(found._Removed);
    oTypeChanged.Append(found._TypeChanged);
    oSizeChanged.Append(found._SizeChanged);
    oNewer.Append(found._Newer);
    oTimeChanged.Append(found._TimeChanged);
    oLinkChanged.Append(found._LinkChanged);
    if (oModeChanged)
        oModeChanged->Append(found._ModeChanged);
    return 0;
}

void zbFileElement::Comparison::Directories(const zbFileElement* iFirst,
                                            const zbFileElement* iSecond)
{
    auto usable = [](const zbFileElement* iNode)
    { return iNode->_Type == ZBIO_DIRECTORY && iNode->_IsExpanded; };
    if ((!iFirst && !iSecond) || (iFirst && !usable(iFirst)) || (iSecond && !usable(iSecond)))
        return;

    // The children of the second side by base name, each with its place in
    // the list, so that the ones left unmatched are found in list order.
    // Names go in and are looked up as bytes with their hash: no key object
    // is made for each.
    const QORListPtrzbFileElement* seconds = iSecond ? iSecond->_SubElements : nullptr;
    const int secondCount = seconds ? seconds->Size() : 0;
    QORHashDicoS index(secondCount + 1);
    std::string matched(static_cast<size_t>(secondCount), '\0');
    for (int i = 1; i <= secondCount; ++i)
    {
        const char* name = (*seconds)[i]->_BaseName;
        const size_t length = std::strlen(name);
        if (index.InsertBytes(name, length, QORHashBytes(name, length),
                              reinterpret_cast<void*>(static_cast<intptr_t>(i))) == 0)
        {
            matched[static_cast<size_t>(i - 1)] = 1; // never a removal twice
            if (Trace)
                zbStderr.Print("# Error in CompareList() : QORHashDico::Insert(), element "
                               "already inserted\n");
        }
    }
    if (iFirst && iFirst->_SubElements)
        for (zbFileElement* f : *iFirst->_SubElements)
        {
            zbFileElement* s = nullptr;
            if (secondCount)
            {
                const size_t length = std::strlen(f->_BaseName);
                const intptr_t place = reinterpret_cast<intptr_t>(
                    index.LocateBytes(f->_BaseName, length, QORHashBytes(f->_BaseName, length)));
                if (place > 0)
                {
                    s = (*seconds)[static_cast<int>(place)];
                    matched[static_cast<size_t>(place - 1)] = 1;
                }
            }
            Child(f, s);
        }
    if (iSecond)
        Removals(*iSecond, matched);
}

void zbFileElement::Comparison::Child(zbFileElement* iF, zbFileElement* iS)
{
    const int linkMode = _Options._LinkMode;
    const zbFileElement* fTarget = iF->_Target();
    const bool fLink = iF->_Type == ZBIO_SYMBOLIC_LINK;
    if (!iS)
    {
        if (fLink && (!fTarget || (linkMode <= 1 && !fTarget->IsExisting())))
            Warning(kBadLinkWarning, iF->_FullName);
        else
            _Found._Added.Append(iF);
        return;
    }
    if (iF->_Type == ZBIO_DIRECTORY && iS->_Type == ZBIO_DIRECTORY)
    {
        Directories(iF, iS);
        return;
    }
    if (fLink && (!iF->_LinkName || !fTarget || (linkMode < 2 && !fTarget->IsExisting())))
    {
        Warning(kBadLinkWarning, iF->_FullName);
        return;
    }
    const bool sLink = iS->_Type == ZBIO_SYMBOLIC_LINK;
    if (linkMode == 0 && (fLink || sLink))
    {
        // Through links: A's link stands for what it points to.
        if (sLink)
            _Found._TypeChanged.Append(iF);
        else if (fTarget->_Type == ZBIO_DIRECTORY)
            Directories(fTarget, iS);
        else
            Nodes(iF, fTarget, iS);
        return;
    }
    if (fLink && sLink)
    {
        if (!iS->_LinkName || !iS->_Target() || std::strcmp(iF->_LinkName, iS->_LinkName) != 0)
            _Found._LinkChanged.Append(iF);
        return;
    }
    Nodes(iF, iF, iS);
}

void zbFileElement::Comparison::Nodes(zbFileElement* iReported, const zbFileElement* iX,
                                      const zbFileElement* iS)
{
    if (iX->_Type != iS->_Type)
    {
        _Found._TypeChanged.Append(iReported);
        return;
    }
    if (!iX->_Stat || !iS->_Stat)
    {
        if (!iX->_Stat)
            Warning(kNoInformation, iX->_FullName, ")");
        if (!iS->_Stat)
            Warning(kNoInformation, iS->_FullName, ")");
        return;
    }
    if (iX->_Stat->_Size != iS->_Stat->_Size)
        _Found._SizeChanged.Append(iReported);
    if (iX->_Stat->_ModificationTime > iS->_Stat->_ModificationTime)
        _Found._Newer.Append(iReported);
    if (iX->_Stat->_ModificationTime != iS->_Stat->_ModificationTime)
        _Found._TimeChanged.Append(iReported);
    if (_Options._Modes && !CompareMode(iX->_Stat->_Mode, iS->_Stat->_Mode))
        _Found._ModeChanged.Append(iReported);
}

void zbFileElement::Comparison::Removals(const zbFileElement& iSecond, const std::string& iMatched)
{
    if (!iSecond._SubElements)
        return;
    QORListPtrzbFileElement& removed = _Found._Removed;
    int place = 0;
    for (zbFileElement* s : *iSecond._SubElements)
    {
        if (iMatched[static_cast<size_t>(place++)])
            continue;
        // Expanded through patterns, only what was selected counts.
        if (!iSecond._IsFiltered || _Options._KeepUnselected)
            removed.Append(s);
        else if (s->_Filter == ZBIO_FOLLOW && s->_Type == ZBIO_DIRECTORY && s->_IsExpanded)
        {
            QORListPtrzbFileElement inside;
            if (s->ComputeListForDelete(inside, _Options._WholeDirectory) == 1 &&
                _Options._WholeDirectory)
                removed.Append(s);
            else
                removed.Append(inside);
        }
        else if (s->_Filter == ZBIO_FOLLOW_FOR_EVER)
            removed.Append(s);
    }
}
