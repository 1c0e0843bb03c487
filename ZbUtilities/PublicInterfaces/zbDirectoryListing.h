#ifndef zbDirectoryListing_H
#define zbDirectoryListing_H
// Walker over the entries of a list of directories, optionally recursive,
// selecting directories, everything else, or all entries.  Each entry is
// returned as its full path: directory, separator, entry name.
//
// Unreadable directories are skipped silently unless asked to report them.  An entry whose full
// path does not fit the path buffer is reported (warning) and skipped, and so are the entries of a
// directory whose path leaves no room for them.  Every directory is walked at most once (by device
// and inode), so a symbolic link that leads back into the walk does not make it endless.

#include <set>
#include <sys/types.h>
#include <utility>

#include "QORString.h"

class zbDirectory;
class zbPatternSet;
struct dirent64;

class zbDirectoryListing
{
  public:
    enum ListedEntries
    {
        DirectoriesOnly = 0,
        AllButDirectories = 1,
        AllEntries = 2
    };
    enum ListingMode
    {
        Recursive = 0,
        GivenDirectoriesOnly = 1
    };

    // iRoots is not copied for Rewind: it must outlive the walker.
    explicit zbDirectoryListing(const QORListValQORString& iRoots);
    zbDirectoryListing(const zbDirectoryListing&) = delete;
    zbDirectoryListing& operator=(const zbDirectoryListing&) = delete;
    virtual ~zbDirectoryListing();

    void SetListingMode(const ListingMode& iMode) { _ListingMode = iMode; }
    void SetListedEntries(const ListedEntries& iEntries) { _ListedEntries = iEntries; }
    // Entries whose name (not the full path) matches iPattern are skipped;
    // a skipped directory is still walked.  Not owned; null: no filter.
    void SetPattern(const zbPatternSet* iPattern) { _Pattern = iPattern; }

    // The full path of the next selected entry (valid until the next call),
    // or null when the walk is over.
    const char* GetEntry();
    // Restarts from the roots.
    void Rewind();

    // Range access for C++ loops: each full path (valid until the next
    // step) of a walk from the roots.
    class Iterator
    {
      public:
        explicit Iterator(zbDirectoryListing* iListing)
            : _Listing(iListing), _Entry(iListing ? iListing->GetEntry() : nullptr)
        {
        }
        const char* operator*() const { return _Entry; }
        Iterator& operator++()
        {
            _Entry = _Listing->GetEntry();
            return *this;
        }
        bool operator==(const Iterator& iOther) const { return _Entry == iOther._Entry; }
        bool operator!=(const Iterator& iOther) const { return _Entry != iOther._Entry; }

      private:
        zbDirectoryListing* _Listing;
        const char* _Entry;
    };
    Iterator begin()
    {
        Rewind();
        return Iterator(this);
    }
    Iterator end() { return Iterator(nullptr); }
    // How many entries were skipped because their path did not fit.
    int GetSkipped() const { return _Skipped; }
    // With iReport set, a directory that cannot be opened is reported
    // (systError with its path) and counted instead of skipped silently.
    void SetReportUnreadable(int iReport) { _ReportUnreadable = iReport; }
    // How many directories could not be opened and were reported.
    int GetUnreadable() const { return _Unreadable; }

    enum
    {
        PathCapacity = 1024
    };

  private:
    // Opens _ToVisit[_Index] and prepares _Path; false when it is skipped.
    bool OpenCurrent();
    void CloseCurrent();
    // The name matches the pattern set.
    bool Excluded(const char* iName) const;
    // iDirectory ends with its separator; a null iName reports the directory
    // itself (its entries are skipped).
    void ReportTooLong(const char* iDirectory, const char* iName);

    char _Path[PathCapacity];
    char* _NamePart;
    zbDirectory* _Current;
    struct dirent64* _CurrentEntry;
    const QORListValQORString* _Roots;
    int _Index;
    QORListValQORString _ToVisit;
    ListedEntries _ListedEntries;
    ListingMode _ListingMode;
    const zbPatternSet* _Pattern;
    std::set<std::pair<unsigned long long, unsigned long long>> _Walked;
    int _Skipped;
    int _ReportUnreadable = 0;
    int _Unreadable = 0;
};

#endif
