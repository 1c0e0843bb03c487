#include "zbFileElement.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <utime.h>
#include <vector>

#include "QORHashDicoS.h"
#include "zbDescriptor.h"
#include "zbDirectory.h"
#include "zbDirectories.h"
#include "zbErrorCodeManager.h"
#include "zbFileOperations.h"
#include "zbIOFNMatch.h"
#include "zbOFStream.h"
#include "zbPathSeparators.h"

int zbFileElement::Trace = 0;
int zbFileElement::SymbolicLinkWithDirectory = 0;
int zbFileElement::SymbolicLinkKeepStat = 0;

namespace
{
const char kNoSuchFile[] = "No such file or directory";
const char kNotADirectory[] = "not a directory";
const char kTargetNotADirectory[] = "target is not a directory";
const char kBadLink[] = "bad symbolic link";
const char kLinkToDirectory[] = "symbolic link point to a directory";
const char kLinkToHoldingDirectory[] = "symbolic link point to a directory that holds it";
const char kInvalidMode[] = "invalid mode of expansion, use RECURSIVE_MODE, NOT_RECURSIVE_MODE "
                            "or RECURSIVE_FORCED_MODE";

const char kInComputeStat[] = "# Error in ComputeStat() : ";
const char kInGetLink[] = "# Error in GetLink() : ";
const char kInExpand[] = "# Error in _Expand() : ";
const char kInDelete[] = "# Error in Delete() : ";
const char kInRename[] = "# Error in Rename() : ";
const char kInDuplicate[] = "# Error in Duplicate() : ";
const char kInUpdateRights[] = "# Error in UpdateRights() : ";
const char kInWriteTimeStamps[] = "# Error in WriteTimeStamps() : ";

const char kSeparator = zbPathSeparator[0];
const char kDosSeparator = zbDosPathSeparator[0];

bool IsValidMode(int iMode)
{
    return iMode == RECURSIVE_MODE || iMode == NOT_RECURSIVE_MODE || iMode == RECURSIVE_FORCED_MODE;
}

int TypeOfMode(unsigned int iMode)
{
    switch (iMode & 0xF000)
    {
    case 0x4000:
        return ZBIO_DIRECTORY;
    case 0xA000:
        return ZBIO_SYMBOLIC_LINK;
    default:
        return ZBIO_FILE;
    }
}

// A malloc'ed copy with DOS separators made "/" and trailing separators
// dropped (the first character always stays).
char* NormalizedCopy(const char* iPath, size_t iExtra = 0)
{
    size_t length = iPath ? std::strlen(iPath) : 0;
    char* copy = static_cast<char*>(std::malloc(length + iExtra + 1));
    if (!copy)
        return nullptr;
    for (size_t i = 0; i < length; ++i)
        copy[i] = iPath[i] == kDosSeparator ? kSeparator : iPath[i];
    while (length > 0 && copy[length - 1] == kSeparator)
        --length;
    copy[length] = '\0';
    return copy;
}

void Warning(const char* iText, const char* iName, const char* iEnd = "")
{
    if (zbFileElement::Trace)
        zbStderr.Print("%s%s%s\n", iText, iName ? iName : "", iEnd);
}

// Owner rights added to a path for the time of an operation, restored by
// the destructor whatever the operation's outcome.
class RightsForOwner
{
  public:
    RightsForOwner(const char* iPath, int iAccess, mode_t iAdded)
    {
        struct stat64 st;
        if (::access(iPath, iAccess) == 0 || ::stat64(iPath, &st) != 0)
            return;
        if (::chmod(iPath, (st.st_mode & 07777) | iAdded) == 0)
        {
            _Path = iPath;
            _Mode = st.st_mode & 07777;
        }
    }
    ~RightsForOwner() { Restore(); }
    RightsForOwner(const RightsForOwner&) = delete;
    RightsForOwner& operator=(const RightsForOwner&) = delete;
    void Restore()
    {
        if (!_Path.empty())
            (void)::chmod(_Path.c_str(), _Mode);
        _Path.clear();
    }

  private:
    std::string _Path;
    mode_t _Mode = 0;
};
} // namespace

// The last error's text, and the node it happened on.
struct zbFileElement::LastError
{
    QORUnicodeString _Message;
    std::string _Name;
};

// Construction -------------------------------------------------------------

#define ZB_EMPTY_NODE                                                                              \
    _Filter(0), _LastError(nullptr), _PatternList(nullptr), _FullName(nullptr),                    \
        _BaseName(nullptr), _Type(ZBIO_NOT_EXISTING), _SubElements(nullptr), _IsExpanded(0),       \
        _IsFiltered(0), _Stat(nullptr), _LinkFather(nullptr), _LinkName(nullptr), _Record()

zbFileElement::zbFileElement(const char* iDirectory, const char* iBaseName) : ZB_EMPTY_NODE
{
    _InitFromParts(iDirectory, iBaseName);
    ComputeStat();
}

zbFileElement::zbFileElement(MayBeMissing, const char* iDirectory, const char* iBaseName)
    : ZB_EMPTY_NODE
{
    _InitFromParts(iDirectory, iBaseName);
    _ComputeStat(false);
}

void zbFileElement::_InitFromParts(const char* iDirectory, const char* iBaseName)
{
    const char* base = iBaseName ? iBaseName : "";
    size_t baseLength = std::strlen(base);
    _FullName = NormalizedCopy(iDirectory, baseLength + 1);
    if (!_FullName)
        return;
    size_t length = std::strlen(_FullName);
    _FullName[length] = kSeparator;
    std::memcpy(_FullName + length + 1, base, baseLength + 1);
    _BaseName = _FullName + length + 1;
}

void zbFileElement::_InitFromPath(const char* iPath)
{
    _FullName = NormalizedCopy(iPath, 1);
    if (!_FullName)
        return;
    if (!*_FullName)
    {
        _FullName[0] = kSeparator;
        _FullName[1] = '\0';
        _BaseName = _FullName;
        return;
    }
    const char* last = std::strrchr(_FullName, kSeparator);
    _BaseName = last && last[1] ? last + 1 : _FullName;
}

zbFileElement::zbFileElement(const char* iPath) : ZB_EMPTY_NODE
{
    _InitFromPath(iPath);
    ComputeStat();
}

void zbFileElement::_FromEntry(int iType, const FileStat* iStat)
{
    _Type = iType;
    if (!iStat)
        return;
    if (iType != ZBIO_SYMBOLIC_LINK || SymbolicLinkKeepStat)
        _Stat = &(_Record = *iStat);
    if (iType == ZBIO_SYMBOLIC_LINK)
        GetLink();
}

zbFileElement::zbFileElement(const char* iPath, const int& iType, const FileStat* iStat)
    : ZB_EMPTY_NODE
{
    _InitFromPath(iPath);
    _FromEntry(iType, iStat);
}

zbFileElement::zbFileElement(EntryTag, char* iFullName, size_t iBaseOffset, int iType,
                             const FileStat* iStat)
    : ZB_EMPTY_NODE
{
    _FullName = iFullName;
    _BaseName = iFullName + iBaseOffset;
    _FromEntry(iType, iStat);
}

zbFileElement::zbFileElement(char* iFullName, const char* iBaseName, const int& iType,
                             const FileStat* iStat, zbFileElement* iLinkFather)
    : ZB_EMPTY_NODE
{
    _FullName = iFullName;
    _BaseName = iBaseName;
    _Type = iType;
    _LinkFather = iLinkFather;
    if (iStat)
        _Stat = &(_Record = *iStat);
}

#undef ZB_EMPTY_NODE

zbFileElement::~zbFileElement()
{
    _DestroySubElements();
    delete _SubElements;
    std::free(_LinkName);
    delete _LastError;
    if (!_LinkFather)
        std::free(_FullName);
}

// Errors -------------------------------------------------------------------

zbFileElement::LastError& zbFileElement::_Error()
{
    if (!_LastError)
        _LastError = new LastError;
    return *_LastError;
}

QORUnicodeString& zbFileElement::GetLastErrorMessage()
{
    return _Error()._Message;
}

const char* zbFileElement::GetLastErrorName() const
{
    return _LastError ? _LastError->_Name.c_str() : "";
}

void zbFileElement::_SetMessage(const char* iText)
{
    LastError& error = _Error();
    error._Message = iText;
    error._Name = _FullName ? _FullName : "";
}

void zbFileElement::_CopyMessage(zbFileElement& iOther)
{
    LastError& error = _Error();
    error._Message = iOther.GetLastErrorMessage();
    error._Name = _FullName ? _FullName : "";
}

void zbFileElement::_TakeFailure(zbFileElement& iBelow)
{
    LastError& error = _Error();
    error._Message = iBelow.GetLastErrorMessage();
    error._Name = iBelow.GetLastErrorName();
}

void zbFileElement::_TraceLine(const char* iPrefix, const char* iName)
{
    if (Trace)
        zbStderr.Print("%s%s : %s\n", iPrefix, GetLastErrorMessage().ConvertToUTF8().c_str(),
                       iName ? iName : (_FullName ? _FullName : ""));
}

int zbFileElement::_Fail(const char* iPrefix, const char* iText, const char* iName)
{
    _SetMessage(iText);
    _TraceLine(iPrefix, iName);
    return -1;
}

int zbFileElement::_FailErrno(const char* iPrefix, int iErrno, const char* iName)
{
    zbExtLastError.SetErrno(iErrno);
    LastError& error = _Error();
    error._Message = zbExtLastError.GetMsgError();
    error._Name = _FullName ? _FullName : "";
    _TraceLine(iPrefix, iName);
    return -1;
}

// Stat and links -----------------------------------------------------------

void zbFileElement::_DestroySubElements()
{
    if (_SubElements)
        _SubElements->ApplyDelete();
}

void zbFileElement::_Reset()
{
    _PatternList = nullptr;
    _Filter = 0;
    _IsExpanded = 0;
    _IsFiltered = 0;
    _Type = ZBIO_NOT_EXISTING;
    if (_Stat)
        std::memset(_Stat, 0, sizeof *_Stat);
    std::free(_LinkName);
    _LinkName = nullptr;
    _DestroySubElements();
}

int zbFileElement::ComputeStat()
{
    return _ComputeStat(true);
}

int zbFileElement::_ComputeStat(bool iReportMissing)
{
    _Stat = &_Record;
    _Reset();
    struct stat64 st;
    if (!_FullName || ::lstat64(_FullName, &st) != 0)
    {
        if (!iReportMissing && _FullName && errno == ENOENT)
            return -1;
        return _FailErrno(kInComputeStat, _FullName ? errno : ENOMEM);
    }
    ConvertStat64ToFileStat(*_Stat, st);
    _Type = TypeOfMode(st.st_mode);
    return _Type == ZBIO_SYMBOLIC_LINK ? GetLink() : 0;
}

zbFileElement* zbFileElement::_Target() const
{
    if (_Type != ZBIO_SYMBOLIC_LINK || !_IsExpanded || !_SubElements || _SubElements->Size() != 1)
        return nullptr;
    return (*_SubElements)[1];
}

int zbFileElement::GetLink()
{
    _DestroySubElements();
    _IsExpanded = 0;
    std::free(_LinkName);
    _LinkName = nullptr;

    // The text is read whole: the buffer grows until the text fits.
    size_t size = 1024;
    char* text = nullptr;
    for (;;)
    {
        char* grown = static_cast<char*>(std::realloc(text, size));
        if (!grown)
        {
            std::free(text);
            return _FailErrno(kInGetLink, ENOMEM);
        }
        text = grown;
        ssize_t length = ::readlink(_FullName, text, size);
        if (length < 0)
        {
            int error = errno;
            std::free(text);
            return _FailErrno(kInGetLink, error);
        }
        if (static_cast<size_t>(length) < size)
        {
            text[length] = '\0';
            break;
        }
        size *= 2;
    }
    _LinkName = text;

    struct stat64 st;
    int result = 0;
    int targetType = ZBIO_NOT_EXISTING;
    FileStat targetStat;
    if (::stat64(_FullName, &st) != 0)
        result = _FailErrno(kInGetLink, errno); // dangling: a target of type 0
    else
    {
        ConvertStat64ToFileStat(targetStat, st);
        targetType = S_ISDIR(st.st_mode) ? ZBIO_DIRECTORY : ZBIO_FILE;
        // Whatever its text, a link to a directory is resolved: only a walk
        // through it must not come back into itself, which the walk sees.
        if (targetType == ZBIO_DIRECTORY && SymbolicLinkWithDirectory == LinkToDirectoryRefused)
            return _Fail(kInGetLink, kLinkToDirectory);
    }
    if (!_SubElements)
        _SubElements = new QORListPtrzbFileElement(1);
    _SubElements->Append(new zbFileElement(_FullName, _BaseName, targetType,
                                           targetType ? &targetStat : nullptr, this));
    _IsExpanded = 1;
    return result;
}

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

namespace
{
// Directories held open down one walk (an expansion, or both sides of a
// copy): past that depth, the deeper ones are reached by their full names.
const int kOpenDirectories = 128;
} // namespace

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

// Names --------------------------------------------------------------------

char* zbFileElement::GetPathName() const
{
    if (!_FullName || !_BaseName || !*_FullName || !*_BaseName)
        return ::strdup("");
    if (std::strcmp(_FullName, zbPathSeparator) == 0 &&
        std::strcmp(_BaseName, zbPathSeparator) == 0)
        return ::strdup(zbPathSeparator);
    if (std::strcmp(_FullName, _BaseName) == 0)
        return ::strdup(".");
    size_t length = std::strlen(_FullName);
    size_t baseLength = std::strlen(_BaseName);
    length = length > baseLength ? length - baseLength : 0;
    while (length > 0 && _FullName[length - 1] == kSeparator)
        --length;
    if (length == 0)
        return ::strdup(zbPathSeparator);
    return ::strndup(_FullName, length);
}

char* zbFileElement::NormalizePath(const char* iPath)
{
    if (!iPath)
        return nullptr;
    char* copy = ::strdup(iPath);
    for (char* c = copy; c && *c; ++c)
        if (*c == kDosSeparator)
            *c = kSeparator;
    return copy;
}

// Lists --------------------------------------------------------------------

int zbFileElement::GetListOfAllSubElementFile(QORListPtrzbFileElement& oList)
{
    if (_Type == ZBIO_NOT_EXISTING)
        return 0;
    if (_Type == ZBIO_DIRECTORY && _IsExpanded && _SubElements)
    {
        for (zbFileElement* child : *_SubElements)
            child->GetListOfAllSubElementFile(oList);
        return 0;
    }
    if (_Type == ZBIO_SYMBOLIC_LINK)
    {
        zbFileElement* target = _Target();
        if (!target || !target->IsExisting())
            return 0;
        if (target->_Type != ZBIO_DIRECTORY)
            oList.Append(this);
        else if (target->_IsExpanded && target->_SubElements)
            for (zbFileElement* child : *target->_SubElements)
                child->GetListOfAllSubElementFile(oList);
        return 0;
    }
    oList.Append(this);
    return 0;
}

int zbFileElement::ComputeListForDelete(QORListPtrzbFileElement& oList, const int& iWholeDirectory)
{
    int count = 0, children = 0;
    if (_SubElements)
        for (zbFileElement* child : *_SubElements)
        {
            ++children;
            if (child->_Filter == ZBIO_FOLLOW && child->_Type == ZBIO_DIRECTORY &&
                child->_IsExpanded)
            {
                QORListPtrzbFileElement inside;
                if (child->ComputeListForDelete(inside, iWholeDirectory) == 1 && iWholeDirectory)
                {
                    oList.Append(child);
                    ++count;
                }
                else
                    oList.Append(inside);
            }
            else if (child->_Filter == ZBIO_FOLLOW_FOR_EVER)
            {
                oList.Append(child);
                ++count;
            }
        }
    return count == children ? 1 : 0;
}

// Comparison ---------------------------------------------------------------

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
    auto usable = [](const zbFileElement* iNode)
    { return iNode->_Type == ZBIO_DIRECTORY && iNode->_IsExpanded; };
    if ((!iFirst && !iSecond) || (iFirst && !usable(iFirst)) || (iSecond && !usable(iSecond)))
        return 0;

    // The children of the second side by base name, each with its place in
    // the list, so that the ones left unmatched are found in list order.
    const QORListPtrzbFileElement* seconds = iSecond ? iSecond->_SubElements : nullptr;
    const int secondCount = seconds ? seconds->Size() : 0;
    QORHashDicoS index(secondCount + 1);
    std::string matched(static_cast<size_t>(secondCount), '\0');
    // Names go in and are looked up as bytes with their hash: no key
    // object is made for each.
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

    auto compareNodes =
        [&](zbFileElement* iReported, const zbFileElement* iX, const zbFileElement* iS)
    {
        if (iX->_Type != iS->_Type)
        {
            oTypeChanged.Append(iReported);
            return;
        }
        if (!iX->_Stat || !iS->_Stat)
        {
            const char* text = "# Warning in CompareList() : no information available about file (";
            if (!iX->_Stat)
                Warning(text, iX->_FullName, ")");
            if (!iS->_Stat)
                Warning(text, iS->_FullName, ")");
            return;
        }
        if (iX->_Stat->_Size != iS->_Stat->_Size)
            oSizeChanged.Append(iReported);
        if (iX->_Stat->_ModificationTime > iS->_Stat->_ModificationTime)
            oNewer.Append(iReported);
        if (iX->_Stat->_ModificationTime != iS->_Stat->_ModificationTime)
            oTimeChanged.Append(iReported);
        if (oModeChanged && !CompareMode(iX->_Stat->_Mode, iS->_Stat->_Mode))
            oModeChanged->Append(iReported);
    };
    const char* badLink = "# Warning in CompareList() : bad symbolic link : ";

    if (iFirst && iFirst->_SubElements)
        for (zbFileElement* f : *iFirst->_SubElements)
        {
            zbFileElement* s = nullptr;
            if (secondCount)
            {
                const size_t length = std::strlen(f->_BaseName);
                intptr_t place = reinterpret_cast<intptr_t>(
                    index.LocateBytes(f->_BaseName, length, QORHashBytes(f->_BaseName, length)));
                if (place > 0)
                {
                    s = (*seconds)[static_cast<int>(place)];
                    matched[static_cast<size_t>(place - 1)] = 1;
                }
            }
            zbFileElement* fTarget = f->_Target();
            if (!s)
            {
                if (f->_Type == ZBIO_SYMBOLIC_LINK &&
                    (!fTarget || (iLinkMode <= 1 && !fTarget->IsExisting())))
                {
                    Warning(badLink, f->_FullName);
                    continue;
                }
                oAdded.Append(f);
                continue;
            }
            if (f->_Type == ZBIO_DIRECTORY && s->_Type == ZBIO_DIRECTORY)
            {
                CompareList(f, s, oAdded, oRemoved, oTypeChanged, oSizeChanged, oNewer,
                            oTimeChanged, oLinkChanged, oModeChanged, iLinkMode, iKeepUnselected,
                            iWholeDirectory);
                continue;
            }
            if (f->_Type == ZBIO_SYMBOLIC_LINK &&
                (!f->_LinkName || !fTarget || (iLinkMode < 2 && !fTarget->IsExisting())))
            {
                Warning(badLink, f->_FullName);
                continue;
            }
            const bool fLink = f->_Type == ZBIO_SYMBOLIC_LINK;
            const bool sLink = s->_Type == ZBIO_SYMBOLIC_LINK;
            if (iLinkMode == 0 && (fLink || sLink))
            {
                if (sLink)
                    oTypeChanged.Append(f);
                else if (fTarget->_Type == ZBIO_DIRECTORY)
                    CompareList(fTarget, s, oAdded, oRemoved, oTypeChanged, oSizeChanged, oNewer,
                                oTimeChanged, oLinkChanged, oModeChanged, iLinkMode,
                                iKeepUnselected, iWholeDirectory);
                else
                    compareNodes(f, fTarget, s);
                continue;
            }
            if (fLink && sLink)
            {
                if (!s->_LinkName || !s->_Target() || std::strcmp(f->_LinkName, s->_LinkName) != 0)
                    oLinkChanged.Append(f);
                continue;
            }
            compareNodes(f, f, s);
        }

    // What the second side has and the first has not.
    for (int i = 1; i <= secondCount; ++i)
    {
        if (matched[static_cast<size_t>(i - 1)])
            continue;
        zbFileElement* s = (*seconds)[i];
        if (!iSecond->_IsFiltered || iKeepUnselected)
        {
            oRemoved.Append(s);
            continue;
        }
        if (s->_Filter == ZBIO_FOLLOW && s->_Type == ZBIO_DIRECTORY && s->_IsExpanded)
        {
            QORListPtrzbFileElement inside;
            if (s->ComputeListForDelete(inside, iWholeDirectory) == 1 && iWholeDirectory)
                oRemoved.Append(s);
            else
                oRemoved.Append(inside);
        }
        else if (s->_Filter == ZBIO_FOLLOW_FOR_EVER)
            oRemoved.Append(s);
    }
    return 0;
}

// Operations on the disk ---------------------------------------------------

int zbFileElement::Delete(const int& iMode)
{
    if (_Type == ZBIO_NOT_EXISTING)
        return _Fail(kInDelete, kNoSuchFile);
    char* parent = GetPathName();
    RightsForOwner parentRights(parent, R_OK | W_OK | X_OK, 0700);
    int failed = 0;
    if (_Type == ZBIO_DIRECTORY)
    {
        struct stat64 st;
        if (::lstat64(_FullName, &st) == 0 && S_ISDIR(st.st_mode))
            (void)::chmod(_FullName, (st.st_mode & 07777) | 0700);
        if (zbRemoveDirectory(_FullName, iMode) != 0)
            failed = _FailErrno(kInDelete, zbExtLastError.GetErrno());
    }
    else if (_Type == ZBIO_SYMBOLIC_LINK ? ::unlink(_FullName) : std::remove(_FullName))
        failed = _FailErrno(kInDelete, errno);
    parentRights.Restore();
    std::free(parent);
    if (failed)
        return -1;
    _Reset();
    return 0;
}

int zbFileElement::Rename(const char* iNewName)
{
    if (_Type == ZBIO_NOT_EXISTING)
        return _Fail(kInRename, kNoSuchFile);
    if (zbMoveFile(_FullName, iNewName) != 0)
        return _FailErrno(kInRename, zbExtLastError.GetErrno());
    return 0;
}

// The directories of a copy under way: the one that holds the node copied
// and the one its copy goes into (-1 when not open), whether the latter was
// made by this copy (then only what the copy put there is in it), and how
// deep in the copy they are.
struct zbFileElement::CopyPlace
{
    int _Source;
    int _Target;
    bool _Made;
    int _Depth;
    bool IsOpen() const { return _Source >= 0 && _Target >= 0; }
};

int zbFileElement::Duplicate(zbFileElement& ioTargetDirectory, const int& iLinkMode,
                             const int& iMode)
{
    return _Duplicate(ioTargetDirectory, iLinkMode, iMode, nullptr);
}

int zbFileElement::_CopyAt(const CopyPlace& iPlace) const
{
    const bool file = _Type == ZBIO_FILE && _Stat && S_ISREG(_Stat->_Mode);
    const bool link = _Type == ZBIO_SYMBOLIC_LINK && _LinkName;
    if ((!file && !link) || !_BaseName)
        return -1;
    if (!iPlace._Made)
    {
        struct stat64 st;
        if (::fstatat64(iPlace._Target, _BaseName, &st, AT_SYMLINK_NOFOLLOW) == 0 ||
            errno != ENOENT)
            return -1;
    }
    if (link)
        return ::symlinkat(_LinkName, iPlace._Target, _BaseName) == 0 ? 0 : -1;
    return zbCopyFileAt(iPlace._Source, _BaseName, iPlace._Target, _BaseName, *_Stat) == 0 ? 0 : -1;
}

int zbFileElement::_Duplicate(zbFileElement& ioTargetDirectory, const int& iLinkMode,
                              const int& iMode, const CopyPlace* iPlace)
{
    if (!IsValidMode(iMode))
        return _Fail(kInDuplicate, kInvalidMode);
    if (_Type == ZBIO_NOT_EXISTING)
        return _Fail(kInDuplicate, kNoSuchFile);

    // A link: its target in its place, or a link with the same text.
    if (_Type == ZBIO_SYMBOLIC_LINK)
    {
        zbFileElement* target = _Target();
        if (!_LinkName || !target)
            return _Fail(kInDuplicate, kBadLink);
        if (iLinkMode == 0)
        {
            if (!target->IsExisting())
                return _Fail(kInDuplicate, kBadLink);
            if (target->_Duplicate(ioTargetDirectory, iLinkMode, iMode, iPlace) != 0)
            {
                _TakeFailure(*target);
                return -1;
            }
            return 0;
        }
    }

    // Within a tree being copied, a file or a link that has nothing in its
    // way goes straight into the open target directory: no stat of what is
    // made, times and mode set on the new file before it gets its name.
    // Anything else, or any failure there (nothing is left behind), takes
    // the way by names below, which also gives the messages.
    if (iPlace && iPlace->IsOpen() && _Type != ZBIO_DIRECTORY && _CopyAt(*iPlace) == 0)
        return 0;

    if (!ioTargetDirectory.IsExisting())
    {
        if (zbCreateDirectory(ioTargetDirectory._FullName) != 0)
            return _FailErrno(kInDuplicate, zbExtLastError.GetErrno(), ioTargetDirectory._FullName);
        ioTargetDirectory.ComputeStat();
    }
    else if (!ioTargetDirectory.IsDirectory())
        return _Fail(kInDuplicate, kTargetNotADirectory, ioTargetDirectory._FullName);
    RightsForOwner targetRights(ioTargetDirectory._FullName, R_OK | W_OK | X_OK, 0700);

    // What is in the copy's place, if anything (nothing is no failure).
    zbFileElement copy(MayBeMissing(), ioTargetDirectory._FullName, _BaseName);
    const mode_t ownMode = _Stat ? (_Stat->_Mode & 07777) : 0755;
    if (_Type == ZBIO_SYMBOLIC_LINK)
    {
        // A directory in the link's place goes first; a file or a link
        // there is replaced only once the new link exists.
        if (copy.IsDirectory() && copy.Delete(0) != 0)
        {
            _CopyMessage(copy);
            return -1;
        }
        if (int error = zbReplaceWithLink(_LinkName, copy._FullName))
            return _FailErrno(kInDuplicate, error, copy._FullName);
        return 0;
    }
    if (_Type == ZBIO_DIRECTORY)
    {
        const bool existed = copy.IsDirectory();
        if (copy.IsExisting() && !existed && copy.Delete(0) != 0)
        {
            _CopyMessage(copy);
            return -1;
        }
        if (!existed && ::mkdir(copy._FullName, 0700 | ownMode) != 0)
            return _FailErrno(kInDuplicate, errno, copy._FullName);
        copy.ComputeStat();
        int result = 0;
        if (_IsExpanded && iMode != NOT_RECURSIVE_MODE && _SubElements)
        {
            if (existed && ::access(copy._FullName, R_OK | W_OK | X_OK) != 0)
                (void)::chmod(copy._FullName, ownMode | 0700);
            else if (!existed && (ownMode & 0700) != 0700)
                (void)::chmod(copy._FullName, ownMode | 0700);
            // Both directories open for the children down to a depth.
            const int depth = iPlace ? iPlace->_Depth + 1 : 1;
            const bool relative = iPlace && iPlace->IsOpen();
            zbScopedFd from, into;
            if (depth <= kOpenDirectories)
            {
                from.Reset(relative ? zbOpenFdAt(iPlace->_Source, _BaseName, O_RDONLY | O_DIRECTORY)
                                    : zbOpenFd(_FullName, O_RDONLY | O_DIRECTORY));
                into.Reset(relative ? zbOpenFdAt(iPlace->_Target, _BaseName, O_RDONLY | O_DIRECTORY)
                                    : zbOpenFd(copy._FullName, O_RDONLY | O_DIRECTORY));
            }
            if (!from.IsOpen() || !into.IsOpen())
            {
                from.Close();
                into.Close();
            }
            const CopyPlace place = {from.Get(), into.Get(), !existed, depth};
            for (zbFileElement* child : *_SubElements)
                if (child->_Duplicate(copy, iLinkMode, iMode, &place) != 0)
                {
                    if (result == 0)
                        _TakeFailure(*child);
                    result = -1;
                    if (iMode == RECURSIVE_MODE)
                        break;
                }
        }
        if (copy.UpdateRights(ownMode, NOT_RECURSIVE_MODE) != 0 && result == 0)
        {
            _CopyMessage(copy);
            result = -1;
        }
        return result;
    }

    // A file or a link in the copy's place is replaced only once the copy
    // is complete (a failed copy leaves it as it was); anything else there
    // (a directory, a pipe) has to go first.
    struct stat64 there;
    if (copy.IsExisting() && ::lstat64(copy._FullName, &there) == 0 && !S_ISREG(there.st_mode) &&
        !S_ISLNK(there.st_mode) && copy.Delete(0) != 0)
    {
        _CopyMessage(copy);
        return -1;
    }
    if (zbCopyFile(_FullName, copy._FullName) != 0)
        return _FailErrno(kInDuplicate, zbExtLastError.GetErrno(), copy._FullName);
    copy.ComputeStat();
    if (copy.WriteTimeStamps(_Stat) != 0 || copy.UpdateRights(ownMode, NOT_RECURSIVE_MODE) != 0)
    {
        _CopyMessage(copy);
        return -1;
    }
    return 0;
}

int zbFileElement::UpdateRights(unsigned long iMode, const int& iExpansionMode)
{
    if (!IsValidMode(iExpansionMode))
        return _Fail(kInUpdateRights, kInvalidMode);
    if (_Type == ZBIO_NOT_EXISTING)
        return _Fail(kInUpdateRights, kNoSuchFile);
    if (_Type == ZBIO_SYMBOLIC_LINK)
    {
        Warning("# Warning in UpdateRights() : unautorized on a symbolic link : ", _FullName);
        return 0;
    }
    if (::chmod(_FullName, static_cast<mode_t>(iMode)) != 0)
        return _FailErrno(kInUpdateRights, errno);
    if (_Stat)
        _Stat->_Mode = (_Stat->_Mode & ~07777u) | static_cast<uint32_t>(iMode & 07777);
    if (_Type != ZBIO_DIRECTORY || !_IsExpanded || iExpansionMode == NOT_RECURSIVE_MODE ||
        !_SubElements)
        return 0;
    int result = 0;
    for (zbFileElement* child : *_SubElements)
        if (child->UpdateRights(iMode, iExpansionMode) != 0)
        {
            if (result == 0)
                _TakeFailure(*child);
            result = -1;
            if (iExpansionMode == RECURSIVE_MODE)
                break;
        }
    return result;
}

int zbFileElement::WriteTimeStamps(const FileStat* iTimes)
{
    if (_Type == ZBIO_NOT_EXISTING)
        return _Fail(kInWriteTimeStamps, kNoSuchFile);
    if (_Type == ZBIO_SYMBOLIC_LINK)
    {
        Warning("# Warning in WriteTimeStamps() : unautorized on a symbolic link : ", _FullName);
        return 0;
    }
    RightsForOwner rights(_FullName, R_OK | W_OK, 0600);
    struct utimbuf times;
    times.actime = iTimes ? iTimes->_AccessTime : 0;
    times.modtime = iTimes ? iTimes->_ModificationTime : 0;
    if (::utime(_FullName, &times) != 0)
        return _FailErrno(kInWriteTimeStamps, errno);
    if (_Stat)
    {
        _Stat->_AccessTime = static_cast<int32_t>(times.actime);
        _Stat->_ModificationTime = static_cast<int32_t>(times.modtime);
    }
    return 0;
}

// Children -----------------------------------------------------------------

zbFileElement* zbFileElement::SearchSubElement(const char* iBaseName)
{
    zbFileElement* node = this;
    while (zbFileElement* target = node->_Target())
    {
        if (!target->IsExisting())
            return nullptr;
        node = target;
    }
    if (node->_Type != ZBIO_DIRECTORY || !node->_IsExpanded || !node->_SubElements || !iBaseName)
        return nullptr;
    for (zbFileElement* child : *node->_SubElements)
        if (std::strcmp(child->_BaseName, iBaseName) == 0)
            return child;
    return nullptr;
}

int zbFileElement::IgnoreSubElement(const char* iBaseName)
{
    zbFileElement* child = SearchSubElement(iBaseName);
    if (!child)
        return 0;
    zbFileElement* node = this;
    while (zbFileElement* target = node->_Target())
        node = target;
    node->_SubElements->RemoveValue(child);
    delete child;
    return 1;
}

int zbFileElement::SetListOfSubElement(const char** iRelativePaths, const int& iFiltered)
{
    ComputeStat();
    _IsExpanded = 1;
    if (!_SubElements)
        _SubElements = new QORListPtrzbFileElement;
    if (iFiltered)
        _SetFilter(ZBIO_FOLLOW);
    int added = 0;
    for (const char** path = iRelativePaths; path && *path; ++path)
        added += _AddSubElement(*path, iFiltered);
    return added;
}

int zbFileElement::_AddSubElement(const char* iRelativePath, const int& iFiltered)
{
    if (_Type == ZBIO_NOT_EXISTING)
        return 0;
    if (_Type == ZBIO_SYMBOLIC_LINK)
    {
        zbFileElement* target = _Target();
        if (target && target->_Type == ZBIO_DIRECTORY)
            return target->_AddSubElement(iRelativePath, iFiltered);
        return 0;
    }
    if (_Type != ZBIO_DIRECTORY)
        return 0;
    if (!_SubElements)
        _SubElements = new QORListPtrzbFileElement;
    _IsExpanded = 1;
    if (!iRelativePath)
        return 0;

    char* path = NormalizePath(iRelativePath);
    if (!path)
        return 0;
    // The first component other than "." (and empty ones); the rest after it.
    char* component = path;
    for (;;)
    {
        while (*component == kSeparator)
            ++component;
        if (component[0] == '.' && (component[1] == kSeparator || component[1] == '\0'))
            component += 1;
        else
            break;
    }
    char* rest = std::strchr(component, kSeparator);
    if (rest)
        *rest++ = '\0';
    while (rest && *rest == kSeparator)
        ++rest;
    const bool more = rest && *rest;
    int result = 0;
    if (!*component || std::strcmp(component, "..") == 0)
        result = 0;
    else if (zbFileElement* existing = SearchSubElement(component))
    {
        if (existing->IsExisting() && more && existing->_AddSubElement(rest, iFiltered))
        {
            if (iFiltered)
                existing->_SetFilter(ZBIO_FOLLOW);
            result = 1;
        }
    }
    else
    {
        zbFileElement* child = new zbFileElement(_FullName, component);
        if (!child->IsExisting())
            delete child;
        else if (!more)
        {
            if (child->_Type == ZBIO_DIRECTORY)
            {
                child->_IsExpanded = 1;
                if (!child->_SubElements)
                    child->_SubElements = new QORListPtrzbFileElement;
            }
            if (iFiltered)
                child->_SetFilter(ZBIO_FOLLOW_FOR_EVER);
            _SubElements->Append(child);
            result = 1;
        }
        else if (child->_AddSubElement(rest, iFiltered))
        {
            if (iFiltered)
                child->_SetFilter(ZBIO_FOLLOW);
            _SubElements->Append(child);
            result = 1;
        }
        else
            delete child;
    }
    std::free(path);
    return result;
}

void zbFileElement::_SetFilter(const int& iFilter)
{
    _Filter = iFilter;
    if (_Type == ZBIO_DIRECTORY)
        _IsFiltered = 1;
    if (zbFileElement* target = _Target())
        if (target->IsExisting())
            target->_SetFilter(iFilter);
}

void zbFileElement::Dump(zbOFStream& oStream) const
{
    oStream.Print("FullName : %s\n", _FullName ? _FullName : "");
    oStream.Print("BaseName : %s\n", _BaseName ? _BaseName : "");
    if (_LinkName)
        oStream.Print("LinkName : %s\n", _LinkName);
    oStream.Print("Type : %d\n", _Type);
    oStream.Print("Filter : %d\n", _Filter);
    if (_Stat)
    {
        char text[64];
        time_t created = _Stat->_ChangeTime, modified = _Stat->_ModificationTime,
               accessed = _Stat->_AccessTime;
        oStream.Print("  Time stamp (created)         : %s", ::ctime_r(&created, text));
        oStream.Print("  Time stamp (modified)        : %s", ::ctime_r(&modified, text));
        oStream.Print("  Time stamp (accessed)        : %s\n", ::ctime_r(&accessed, text));
    }
    if (_SubElements)
        for (const zbFileElement* child : *_SubElements)
            child->Dump(oStream);
}
