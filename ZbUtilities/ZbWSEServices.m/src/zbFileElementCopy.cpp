#include "zbFileElement.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include "zbDescriptor.h"
#include "zbDirectories.h"
#include "zbErrorCodeManager.h"
#include "zbFileElementPrivate.h"
#include "zbFileOperations.h"

using namespace zbFileElementPrivate;

namespace
{
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
        return _DuplicateDirectory(copy, iLinkMode, iMode, iPlace);
    return _DuplicateFile(copy);
}

int zbFileElement::_DuplicateDirectory(zbFileElement& ioCopy, const int& iLinkMode,
                                       const int& iMode, const CopyPlace* iPlace)
{
    const mode_t ownMode = _Stat ? (_Stat->_Mode & 07777) : 0755;
    const bool existed = ioCopy.IsDirectory();
    if (ioCopy.IsExisting() && !existed && ioCopy.Delete(0) != 0)
    {
        _CopyMessage(ioCopy);
        return -1;
    }
    if (!existed && ::mkdir(ioCopy._FullName, 0700 | ownMode) != 0)
        return _FailErrno(kInDuplicate, errno, ioCopy._FullName);
    ioCopy.ComputeStat();
    int result = 0;
    if (_IsExpanded && iMode != NOT_RECURSIVE_MODE && _SubElements)
    {
        if (existed ? ::access(ioCopy._FullName, R_OK | W_OK | X_OK) != 0
                    : (ownMode & 0700) != 0700)
            (void)::chmod(ioCopy._FullName, ownMode | 0700);
        // Both directories open for the children down to a depth.
        const int depth = iPlace ? iPlace->_Depth + 1 : 1;
        const bool relative = iPlace && iPlace->IsOpen();
        zbScopedFd from, into;
        if (depth <= kOpenDirectories)
        {
            from.Reset(relative ? zbOpenFdAt(iPlace->_Source, _BaseName, O_RDONLY | O_DIRECTORY)
                                : zbOpenFd(_FullName, O_RDONLY | O_DIRECTORY));
            into.Reset(relative ? zbOpenFdAt(iPlace->_Target, _BaseName, O_RDONLY | O_DIRECTORY)
                                : zbOpenFd(ioCopy._FullName, O_RDONLY | O_DIRECTORY));
        }
        if (!from.IsOpen() || !into.IsOpen())
        {
            from.Close();
            into.Close();
        }
        const CopyPlace place = {from.Get(), into.Get(), !existed, depth};
        for (zbFileElement* child : *_SubElements)
            if (child->_Duplicate(ioCopy, iLinkMode, iMode, &place) != 0)
            {
                if (result == 0)
                    _TakeFailure(*child);
                result = -1;
                if (iMode == RECURSIVE_MODE)
                    break;
            }
    }
    if (ioCopy.UpdateRights(ownMode, NOT_RECURSIVE_MODE) != 0 && result == 0)
    {
        _CopyMessage(ioCopy);
        result = -1;
    }
    return result;
}

int zbFileElement::_DuplicateFile(zbFileElement& ioCopy)
{
    // A file or a link in the copy's place is replaced only once the copy
    // is complete (a failed copy leaves it as it was); anything else there
    // (a directory, a pipe) has to go first.
    struct stat64 there;
    if (ioCopy.IsExisting() && ::lstat64(ioCopy._FullName, &there) == 0 &&
        !S_ISREG(there.st_mode) && !S_ISLNK(there.st_mode) && ioCopy.Delete(0) != 0)
    {
        _CopyMessage(ioCopy);
        return -1;
    }
    if (zbCopyFile(_FullName, ioCopy._FullName) != 0)
        return _FailErrno(kInDuplicate, zbExtLastError.GetErrno(), ioCopy._FullName);
    ioCopy.ComputeStat();
    const mode_t ownMode = _Stat ? (_Stat->_Mode & 07777) : 0755;
    if (ioCopy.WriteTimeStamps(_Stat) != 0 || ioCopy.UpdateRights(ownMode, NOT_RECURSIVE_MODE) != 0)
    {
        _CopyMessage(ioCopy);
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
