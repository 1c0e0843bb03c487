#ifndef zbFileElement_H
#define zbFileElement_H
// An in-memory tree mirroring a piece of the file system: one node per file,
// directory or symbolic link, with the node's own stat record, and children
// for a directory once it has been expanded (listed).  A resolved symbolic
// link has exactly one child, its target node, which shares the link's names
// and carries the type and record of what the link points to.
//
// Trees are expanded whole or pruned by path patterns (zbPatternList.h),
// compared, copied, deleted, and given rights and time stamps.  Failures
// return -1 (0 or null for the search and add operations) and leave their
// reason in GetLastErrorMessage(); with Trace set, a line
// "# Error in OPERATION() : MESSAGE : FULLNAME" goes to standard error.
// Nothing throws.  Like the rest of the library, trees are used from one
// thread: failures go through the process-wide zbExtLastError, and the
// class statics below are read by every operation.

#include "QORHashDicS.h"
#include "QORListPtr.h"
#include "QORUnicodeString.h"
#include "zbFileStats.h"
#include "zbPattern.h"

class zbDirectory;
class zbOFStream;
class zbFileElement;

using QORListPtrzbFileElement = QORListPtr<zbFileElement>;
using QORHashDicSzbFileElement = QORHashDicS<zbFileElement>;

// Type codes.
enum
{
    ZBIO_NOT_EXISTING = 0, // never stat'ed successfully, or deleted
    ZBIO_DIRECTORY = 200,
    ZBIO_FILE = 201, // any other file: regular, device, pipe ...
    ZBIO_SYMBOLIC_LINK = 202,
};

// Expansion modes, passed to every recursive operation.
enum
{
    RECURSIVE_MODE = 100,        // the whole tree, stop at the first failure
    NOT_RECURSIVE_MODE = 101,    // this level only
    RECURSIVE_FORCED_MODE = 102, // the whole tree, carry on, fail at the end
};

class zbFileElement
{
  public:
    // Print error and warning lines on standard error.
    static int Trace;
    // What a symbolic link to a directory is to the tree, one of the
    // values below (any other non-zero value follows such links).
    static int SymbolicLinkWithDirectory;
    enum
    {
        // Refused: the link gets no target ("symbolic link point to a
        // directory").
        LinkToDirectoryRefused = 0,
        // Resolved and walked through by the recursive expansions, except
        // into a directory already on the way down from where the walk
        // started (found by device and inode, whatever the link's text):
        // that target is left unexpanded ("symbolic link point to a
        // directory that holds it") and the walk goes on.
        LinkToDirectoryFollowed = 1,
        // Resolved (the target's type and record are known) but never
        // walked: for trees whose links are compared by their texts or
        // copied as links.
        LinkToDirectoryKept = 2,
    };
    // A link listed by expansion keeps its own lstat record.
    static int SymbolicLinkKeepStat;

    // DIR (DOS separators made "/", trailing separators dropped) + "/" + BASE,
    // then stat'ed.
    zbFileElement(const char* iDirectory, const char* iBaseName);
    // PATH normalised the same way; "/" for a path of separators only.
    explicit zbFileElement(const char* iPath);
    // A directory entry already stat'ed: iStat is copied (a link's own
    // record only with SymbolicLinkKeepStat); a link is resolved.
    zbFileElement(const char* iPath, const int& iType, const FileStat* iStat);
    // The target node of the link iLinkFather: shares its names.
    zbFileElement(char* iFullName, const char* iBaseName, const int& iType, const FileStat* iStat,
                  zbFileElement* iLinkFather);
    zbFileElement(const zbFileElement&) = delete;
    zbFileElement& operator=(const zbFileElement&) = delete;
    virtual ~zbFileElement();

    int GetType() const { return _Type; }
    int GetFilter() const { return _Filter; }
    int IsExisting() const { return _Type != ZBIO_NOT_EXISTING; }
    int IsDirectory() const { return _Type == ZBIO_DIRECTORY; }
    int IsSymbolicLink() const { return _Type == ZBIO_SYMBOLIC_LINK; }
    int IsExpanded() const { return _IsExpanded; }
    int IsFiltered() const { return _IsFiltered; }
    const char* GetFullName() const { return _FullName; }
    const char* GetBaseName() const { return _BaseName; }
    const char* GetLinkName() const { return _LinkName; }
    const FileStat* GetStat() const { return _Stat; }
    QORListPtrzbFileElement* GetListOfSubElement() const { return _SubElements; }
    int HasALinkFather() const { return _LinkFather ? 1 : 0; }
    void SetPattern(const QORListPtrzbPattern* iPatterns) { _PatternList = iPatterns; }
    void SetFilter(const int& iFilter) { _Filter = iFilter; }
    // Created empty on first use.
    QORUnicodeString& GetLastErrorMessage();
    // The full name of the node the last error happened on: this one, or
    // the one below it whose failure made this one fail ("" before any).
    const char* GetLastErrorName() const;
    // 1 when the two modes are equal.
    static int CompareMode(const unsigned long& iMode1, const unsigned long& iMode2)
    {
        return iMode1 == iMode2 ? 1 : 0;
    }

    // Resets the node (children destroyed, filter and flags cleared), then
    // lstat's it; a link is resolved.
    int ComputeStat();
    // Reads the link text whole and resolves the target into the one child.
    int GetLink();
    // Lists the directory: every entry (Expand) or the entries the patterns
    // select (FilterExpand).  Re-expanding discards the previous children.
    int Expand(const int& iMode) { return _Expand(iMode, 0); }
    int FilterExpand(const int& iMode) { return _Expand(iMode, 1); }

    // The returned value of the first pattern iPath matches; 52 when none
    // does or the list is empty; 0 without a list.
    static int ComputeFilter(const char* iPath, const QORListPtrzbPattern* iPatterns);
    // A new string (the caller frees it): the directory part of the full
    // name, "." for a bare name, "/" at the root.
    char* GetPathName() const;
    // A new string with DOS separators made "/" (null for null).
    static char* NormalizePath(const char* iPath);

    // Appends the files of the tree (links to files as the link node).
    int GetListOfAllSubElementFile(QORListPtrzbFileElement& oList);
    // Appends the selected children (filter 54, or the selected contents of
    // a 53 directory, or such a directory itself with iWholeDirectory when
    // all its children are selected).  1 when every child went in whole.
    int ComputeListForDelete(QORListPtrzbFileElement& oList, const int& iWholeDirectory);

    // What a comparison of two trees found: nodes of the first tree (of
    // the second for the removals), each list in the order of the walk.  A
    // node may be in several lists (its size and its time changed).
    struct Differences
    {
        QORListPtrzbFileElement _Added;       // only in the first tree
        QORListPtrzbFileElement _Removed;     // only in the second
        QORListPtrzbFileElement _TypeChanged; // a file of another type
        QORListPtrzbFileElement _SizeChanged;
        QORListPtrzbFileElement _Newer;       // modified later in the first
        QORListPtrzbFileElement _TimeChanged; // modification times differ
        QORListPtrzbFileElement _LinkChanged; // link texts differ
        QORListPtrzbFileElement _ModeChanged; // modes differ (with _Modes)
        // The entries of all the lists.
        int Size() const;
    };
    struct CompareOptions
    {
        // 0 compares through links, 1 compares the texts of links whose
        // targets exist, 2 the texts of every link.
        int _LinkMode = 1;
        // The second tree expanded through patterns: its children that were
        // not selected are removals too.
        int _KeepUnselected = 0;
        // A removed directory whose children were all selected is given
        // whole, not child by child.
        int _WholeDirectory = 0;
        // Compares modes too.
        int _Modes = 0;
    };
    // Compares the children of two expanded directories by base name,
    // walking down the directories both have.  A side that is not an
    // expanded directory compares nothing; an absent second side makes
    // every child an addition.  Never touches the disk.
    static Differences Compare(const zbFileElement* iFirst, const zbFileElement* iSecond,
                               const CompareOptions& iOptions);
    // The same, appending to the lists (oModeChanged null: modes are not
    // compared).
    static int CompareList(const zbFileElement* iFirst, const zbFileElement* iSecond,
                           QORListPtrzbFileElement& oAdded, QORListPtrzbFileElement& oRemoved,
                           QORListPtrzbFileElement& oTypeChanged,
                           QORListPtrzbFileElement& oSizeChanged, QORListPtrzbFileElement& oNewer,
                           QORListPtrzbFileElement& oTimeChanged,
                           QORListPtrzbFileElement& oLinkChanged,
                           QORListPtrzbFileElement* oModeChanged, const int& iLinkMode,
                           const int& iKeepUnselected, const int& iWholeDirectory);

    int Delete(const int& iMode);
    int Rename(const char* iNewName);
    // Copies this node under its base name into iTargetDirectory (created
    // when missing), times and mode kept.  iLinkMode 0 copies what a link
    // points to, any other value copies the link itself.
    int Duplicate(zbFileElement& ioTargetDirectory, const int& iLinkMode, const int& iMode);
    int UpdateRights(unsigned long iMode, const int& iExpansionMode);
    // Access and modification times from iTimes (0 for both without it).
    int WriteTimeStamps(const FileStat* iTimes);

    // Through resolved links, the child of an expanded directory with that
    // base name, or null.
    zbFileElement* SearchSubElement(const char* iBaseName);
    // The same child removed and destroyed: 1, or 0 when there is none.
    int IgnoreSubElement(const char* iBaseName);

    // Re-stats the node and gives it exactly the children named by the
    // null-terminated array of relative paths (and the directories on the
    // way).  Returns how many paths were added.
    int SetListOfSubElement(const char** iRelativePaths, const int& iFiltered);
    // 1 when the relative path (no "..") was added below this node.
    int _AddSubElement(const char* iRelativePath, const int& iFiltered);
    // Sets the filter; a directory becomes filtered; a resolved link passes
    // the value on to its target.
    void _SetFilter(const int& iFilter);

    void Dump(zbOFStream& oStream) const;

  private:
    struct EntryTag
    {
    };
    // A node of a name where nothing may be yet: its absence is no failure.
    struct MayBeMissing
    {
    };
    zbFileElement(MayBeMissing, const char* iDirectory, const char* iBaseName);
    void _InitFromParts(const char* iDirectory, const char* iBaseName);
    // ComputeStat; with iReportMissing false a missing file is no failure.
    int _ComputeStat(bool iReportMissing);
    struct CopyPlace;
    struct Comparison;
    // A directory entry whose full name iFullName (owned from now on) needs
    // no normalisation; the base name starts at iBaseOffset.
    zbFileElement(EntryTag, char* iFullName, size_t iBaseOffset, int iType, const FileStat* iStat);

    void _InitFromPath(const char* iPath);
    void _FromEntry(int iType, const FileStat* iStat);
    void _Reset();
    void _DestroySubElements();
    int _Expand(const int& iMode, int iFiltered);
    struct ExpandWalk;
    // _Expand within a walk; iParent is the open directory that holds this
    // node, or -1.
    int _ExpandIn(ExpandWalk& ioWalk, int iParent, const int& iMode, int iFiltered);
    // The entries of this directory made its children (none after a failure).
    int _ListEntries(zbDirectory& ioDirectory, size_t iPrefixLength, int iFiltered);
    // The child for the entry iName of the open directory iDirectory: 0, or
    // -1 after a failure (nothing added).
    int _AddEntry(int iDirectory, const char* iName, size_t iPrefixLength, int iFiltered);
    // The listed children walked in turn; iDirectory is this one, open, or -1.
    int _ExpandChildren(ExpandWalk& ioWalk, int iDirectory, const int& iMode, int iFiltered);
    // Duplicate, with the open directories of the copy under way when known.
    int _Duplicate(zbFileElement& ioTargetDirectory, const int& iLinkMode, const int& iMode,
                   const CopyPlace* iPlace);
    // The parts of _Duplicate: this directory, and this file, into ioCopy
    // (what is in the copy's place, if anything).
    int _DuplicateDirectory(zbFileElement& ioCopy, const int& iLinkMode, const int& iMode,
                            const CopyPlace* iPlace);
    int _DuplicateFile(zbFileElement& ioCopy);
    // This file or link copied into iPlace when nothing has its name there:
    // 0, or -1 with nothing changed.
    int _CopyAt(const CopyPlace& iPlace) const;
    // The target of a link resolved with exactly one child, else null.
    zbFileElement* _Target() const;
    struct LastError;
    LastError& _Error();
    // The message given (the error then happened on this node), iOther's
    // (the same), or that of a node below this one together with its name.
    void _SetMessage(const char* iText);
    void _CopyMessage(zbFileElement& iOther);
    void _TakeFailure(zbFileElement& iBelow);
    // Logical failure with a fixed text; system failure with an errno.  Both
    // print the trace line (naming iName, or this node) and return -1.
    int _Fail(const char* iPrefix, const char* iText, const char* iName = nullptr);
    int _FailErrno(const char* iPrefix, int iErrno, const char* iName = nullptr);
    void _TraceLine(const char* iPrefix, const char* iName);

    int _Filter;
    LastError* _LastError; // created on the first failure
    const QORListPtrzbPattern* _PatternList;
    char* _FullName;
    const char* _BaseName;
    int _Type;
    QORListPtrzbFileElement* _SubElements;
    int _IsExpanded;
    int _IsFiltered;
    FileStat* _Stat; // _Record once the node has one, else null
    zbFileElement* _LinkFather;
    char* _LinkName;
    FileStat _Record; // held in the node: no allocation of its own
};

#endif
