#include "zbFileElement.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

#include "zbDescriptor.h"
#include "zbDirectory.h"
#include "zbFileElementPrivate.h"
#include "zbIOFNMatch.h"

using namespace zbFileElementPrivate;

// Expansion ----------------------------------------------------------------

int zbFileElement::ComputeFilter(const char* iPath, const QORListPtrzbPattern* iPatterns)
{
    if (!iPatterns)
        return 0;
    for (const zbPattern* pattern : *iPatterns)
        if (pattern && zbIOFNMatch(pattern->GetValue(), iPath, pattern->GetMetaMatch()))
            return pattern->GetReturnedValue();
    return ZBIO_DONT_FOLLOW;
}

// One expansion walk: how many directories it holds open and, with links to
// directories followed, the directories down the walk and above where it
// started, by device and inode: a link to one of them (whatever its text:
// absolute, or relative through other names) would expand it again and
// again.
struct zbFileElement::ExpandWalk
{
    int _Open = 0;
    bool _FollowsLinks = SymbolicLinkWithDirectory != LinkToDirectoryRefused &&
                         SymbolicLinkWithDirectory != LinkToDirectoryKept;
    std::vector<std::pair<dev_t, ino_t>> _Down;

    // 0 when the open directory iFd is entered (Leave when done with it), 1
    // when it is already on the way, -1 (errno set) when it cannot be told.
    int Enter(int iFd)
    {
        struct stat64 st;
        if (::fstat64(iFd, &st) != 0)
            return -1;
        const std::pair<dev_t, ino_t> identity(st.st_dev, st.st_ino);
        for (const auto& above : _Down)
            if (above == identity)
                return 1;
        if (_Down.empty())
            AddAncestors(iFd, identity);
        _Down.push_back(identity);
        return 0;
    }
    void Leave() { _Down.pop_back(); }

  private:
    // The directories above iFd (whose identity is iSelf), up to the top.
    void AddAncestors(int iFd, std::pair<dev_t, ino_t> iSelf)
    {
        zbScopedFd up(zbOpenFdAt(iFd, "..", O_RDONLY | O_DIRECTORY));
        struct stat64 st;
        while (up.IsOpen() && ::fstat64(up.Get(), &st) == 0)
        {
            const std::pair<dev_t, ino_t> identity(st.st_dev, st.st_ino);
            if (identity == iSelf || (!_Down.empty() && identity == _Down.back()))
                return; // the top is its own parent
            _Down.push_back(identity);
            up.Reset(zbOpenFdAt(up.Get(), "..", O_RDONLY | O_DIRECTORY));
        }
    }
};

int zbFileElement::_Expand(const int& iMode, int iFiltered)
{
    ExpandWalk walk;
    return _ExpandIn(walk, -1, iMode, iFiltered);
}

int zbFileElement::_ExpandIn(ExpandWalk& ioWalk, int iParent, const int& iMode, int iFiltered)
{
    if (_Type == ZBIO_NOT_EXISTING)
        return _Fail(kInExpand, kNoSuchFile);
    if (_Type != ZBIO_DIRECTORY)
        return _Fail(kInExpand, kNotADirectory);
    if (!IsValidMode(iMode))
        return _Fail(kInExpand, kInvalidMode);
    if (_IsExpanded)
    {
        _DestroySubElements();
        _IsExpanded = 0;
        _IsFiltered = 0;
    }
    if (!_SubElements)
        _SubElements = new QORListPtrzbFileElement;

    // The entries are named DIR/NAME; at the root, /NAME.
    size_t dirLength = std::strlen(_FullName);
    while (dirLength > 1 && _FullName[dirLength - 1] == kSeparator)
        --dirLength;
    const size_t prefixLength = dirLength == 1 && _FullName[0] == kSeparator ? 1 : dirLength + 1;
    // Opened relative to the directory that holds it when that one is open
    // (a link's target through the link's name), else by the full name;
    // its entries are stat'ed relative to it.  A full name too long to be
    // opened fails the same either way: the tree never holds names that
    // the other operations cannot use.
    const bool relative = iParent >= 0 && dirLength < PATH_MAX;
    const std::string path = relative ? std::string() : std::string(_FullName, dirLength);
    zbDirectory directory(relative ? iParent : AT_FDCWD, relative ? _BaseName : path.c_str());
    if (directory.Failed())
        return _FailErrno(kInExpand, directory.GetError());
    struct Leaving
    {
        ExpandWalk* _Walk = nullptr;
        ~Leaving()
        {
            if (_Walk)
                _Walk->Leave();
        }
    } leaving;
    if (ioWalk._FollowsLinks && iMode != NOT_RECURSIVE_MODE)
    {
        const int entered = ioWalk.Enter(directory.GetFd());
        if (entered < 0)
            return _FailErrno(kInExpand, errno);
        if (entered > 0)
        {
            // Left unexpanded: the walk goes on beside it.
            _Fail(kInExpand, kLinkToHoldingDirectory);
            return 0;
        }
        leaving._Walk = &ioWalk;
    }
    if (_ListEntries(directory, prefixLength, iFiltered) != 0)
        return -1;
    // The children are walked with this directory open, down to a depth.
    if (iMode == NOT_RECURSIVE_MODE || ioWalk._Open >= kOpenDirectories)
        directory.Close();
    const bool open = directory.GetFd() >= 0;
    ioWalk._Open += open ? 1 : 0;
    const int result = _ExpandChildren(ioWalk, directory.GetFd(), iMode, iFiltered);
    ioWalk._Open -= open ? 1 : 0;
    return result;
}

int zbFileElement::_ListEntries(zbDirectory& ioDirectory, size_t iPrefixLength, int iFiltered)
{
    for (const struct dirent64* entry = ioDirectory.FindNextEnt(); entry;
         entry = ioDirectory.FindNextEnt())
        if (_AddEntry(ioDirectory.GetFd(), entry->d_name, iPrefixLength, iFiltered) != 0)
        {
            _DestroySubElements();
            return -1;
        }
    if (!ioDirectory.Failed())
        return 0;
    _DestroySubElements();
    return _FailErrno(kInExpand, ioDirectory.GetError());
}

int zbFileElement::_AddEntry(int iDirectory, const char* iName, size_t iPrefixLength, int iFiltered)
{
    const size_t nameLength = std::strlen(iName);
    char* path = static_cast<char*>(std::malloc(iPrefixLength + nameLength + 1));
    if (!path)
        return _FailErrno(kInExpand, ENOMEM);
    std::memcpy(path, _FullName, iPrefixLength - 1);
    path[iPrefixLength - 1] = kSeparator;
    std::memcpy(path + iPrefixLength, iName, nameLength + 1);

    struct stat64 st;
    if (::fstatat64(iDirectory, iName, &st, AT_SYMLINK_NOFOLLOW) != 0)
    {
        _FailErrno(kInExpand, errno, path);
        std::free(path);
        return -1;
    }
    int filter = 0;
    if (iFiltered)
    {
        filter = _Filter == ZBIO_FOLLOW_FOR_EVER ? ZBIO_FOLLOW_FOR_EVER
                                                 : ComputeFilter(path, _PatternList);
        if (filter != ZBIO_FOLLOW && filter != ZBIO_FOLLOW_FOR_EVER)
        {
            std::free(path);
            return 0;
        }
    }
    FileStat record;
    ConvertStat64ToFileStat(record, st);
    zbFileElement* child =
        new zbFileElement(EntryTag(), path, iPrefixLength, TypeOfMode(st.st_mode), &record);
    _SubElements->Append(child);
    child->_PatternList = _PatternList;
    if (iFiltered)
        child->_Filter = filter;
    if (zbFileElement* target = child->_Target())
        if (target->IsExisting())
        {
            target->_PatternList = _PatternList;
            if (iFiltered)
                target->_Filter = filter;
        }
    return 0;
}

int zbFileElement::_ExpandChildren(ExpandWalk& ioWalk, int iDirectory, const int& iMode,
                                   int iFiltered)
{
    if (iMode == NOT_RECURSIVE_MODE)
    {
        _IsExpanded = 1;
        _IsFiltered = iFiltered;
        return 0;
    }
    int result = 0;
    for (zbFileElement* child : *_SubElements)
    {
        zbFileElement* directoryNode = nullptr;
        if (child->_Type == ZBIO_DIRECTORY)
            directoryNode = child;
        else if (zbFileElement* target = child->_Target())
            if (target->_Type == ZBIO_DIRECTORY && ioWalk._FollowsLinks)
                directoryNode = target;
        if (!directoryNode || directoryNode->_IsExpanded)
            continue;
        if (iFiltered && directoryNode->_Filter != ZBIO_FOLLOW &&
            directoryNode->_Filter != ZBIO_FOLLOW_FOR_EVER)
            continue;
        if (directoryNode->_ExpandIn(ioWalk, iDirectory, iMode, iFiltered) != 0)
        {
            if (result == 0)
                _TakeFailure(*directoryNode);
            result = -1;
            if (iMode == RECURSIVE_MODE)
            {
                _DestroySubElements();
                return -1;
            }
        }
    }
    _IsExpanded = 1;
    _IsFiltered = iFiltered;
    return result;
}
