#include "zbFileElement.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "zbErrorCodeManager.h"
#include "zbFileElementPrivate.h"

using namespace zbFileElementPrivate;

int zbFileElement::Trace = 0;
int zbFileElement::SymbolicLinkWithDirectory = 0;
int zbFileElement::SymbolicLinkKeepStat = 0;

namespace
{
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
