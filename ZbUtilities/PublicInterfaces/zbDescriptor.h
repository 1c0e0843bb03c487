#ifndef zbDescriptor_H
#define zbDescriptor_H
// The one way the library does descriptor I/O.
//
// - Every descriptor the library opens is close-on-exec: zbOpenFd adds
//   O_CLOEXEC, zbOpenStream adds "e" to the mode, zbPipe uses pipe2.
// - zbReadAll and zbWriteAll retry on EINTR and short counts; so do the
//   opening functions and the sync of zbFileReplacer.
// - zbScopedFd owns a descriptor and closes it once, on every path.
// - zbFileReplacer replaces a whole file safely: the new content goes to a
//   file beside the target (same directory, never visible under the
//   target's name while incomplete), is synced, then renamed over the
//   target.  On any failure only that file is removed: the old target is
//   left byte for byte as it was.  A new file in a directory given by its
//   descriptor, where nothing has that name yet, gets the name straight
//   away once complete (and never takes the place of anything).
//
// Functions return 0 for success or the errno of the failure; those that
// give a descriptor return it, or -1 with errno set.

#include <cstddef>
#include <cstdio>
#include <string>
#include <sys/types.h>

class zbScopedFd
{
  public:
    zbScopedFd() = default;
    explicit zbScopedFd(int iFd) : _Fd(iFd) {}
    ~zbScopedFd() { Close(); }
    zbScopedFd(zbScopedFd&& ioOther) noexcept : _Fd(ioOther.Release()) {}
    zbScopedFd& operator=(zbScopedFd&& ioOther) noexcept;
    zbScopedFd(const zbScopedFd&) = delete;
    zbScopedFd& operator=(const zbScopedFd&) = delete;

    int Get() const { return _Fd; }
    bool IsOpen() const { return _Fd >= 0; }
    // Gives the descriptor up without closing it.
    int Release();
    // Closes now (0, or the errno of close); later calls do nothing.
    int Close();
    // Closes the held descriptor, then holds iFd.
    void Reset(int iFd = -1);

  private:
    int _Fd = -1;
};

// open(2) with O_CLOEXEC added, retried on EINTR.
int zbOpenFd(const char* iName, int iFlags, mode_t iMode = 0);
// The same relative to the directory descriptor iDirectory (openat(2)).
int zbOpenFdAt(int iDirectory, const char* iName, int iFlags, mode_t iMode = 0);
// fopen with close-on-exec ("e" added to iMode), retried on EINTR.
FILE* zbOpenStream(const char* iName, const char* iMode);
// pipe2(O_CLOEXEC | iFlags).
int zbPipe(int oFds[2], int iFlags = 0);

// Reads until iCount bytes or the end of the file; oRead says how many.
int zbReadAll(int iFd, void* oBuffer, size_t iCount, size_t& oRead);
// Writes all of iCount bytes.
int zbWriteAll(int iFd, const void* iData, size_t iCount);
// Writes all of iCount bytes at iOffset (pwrite: the file offset stays).
int zbWriteAllAt(int iFd, const void* iData, size_t iCount, off64_t iOffset);
// The whole content of a file (regular or not) into oContent.
int zbReadFile(const char* iName, std::string& oContent);

class zbFileReplacer
{
  public:
    // How the target is taken over (flags):
    enum
    {
        // fsync the new content before it takes the target's place (for
        // data other programs rely on after a crash).
        Sync = 1,
        // The new file takes the place of whatever is at the target's name
        // as if that had been removed first: a symbolic link there is
        // replaced (the file it names is untouched) and the new file gets
        // iMode less the umask, whatever the old one had.
        Fresh = 2
    };
    explicit zbFileReplacer(const char* iTarget, mode_t iMode = 0644, int iHow = Sync);
    // The new file iName of the directory iDirectory (a descriptor, which
    // must stay open until Commit or Abandon), where nothing has that name
    // now: it gets iMode exactly (no umask), and Commit fails with EEXIST,
    // leaving everything as it was, when the name was taken meanwhile.
    zbFileReplacer(int iDirectory, const char* iName, mode_t iMode, int iHow = 0);
    ~zbFileReplacer(); // abandons what is not committed
    zbFileReplacer(const zbFileReplacer&) = delete;
    zbFileReplacer& operator=(const zbFileReplacer&) = delete;

    // Prepares the new file.  A directory as the target is refused
    // (EISDIR).  A target that is a symbolic link keeps the link: the file
    // it names is replaced (unless Fresh).  A target that exists and is neither a regular
    // file nor a directory (a device, a pipe) cannot be replaced: it is
    // written straight through.  An existing target's mode is kept; a new
    // file gets iMode less the umask.
    int Open();
    int Fd() const { return _Fd.Get(); }
    // Appends to the new content; the first failure is kept and returned
    // again by Commit.
    int Write(const void* iData, size_t iCount);
    int Write(const std::string& iData) { return Write(iData.data(), iData.size()); }
    // Syncs, closes and renames the new file over the target.
    int Commit();
    // Removes the new file, leaving the target as it was.
    void Abandon();
    // The name the content is written to until Commit (empty while the
    // new file has no name of its own, and when writing straight through).
    const std::string& TempName() const { return _TempName; }
    const std::string& Target() const { return _Target; }

  private:
    int _Link();
    int _OpenNew();
    int _OpenTemporary(int iAt, const char* iDirectory, mode_t iMode);
    int _CommitNew();

    std::string _Target;
    std::string _TempName;
    zbScopedFd _Fd;
    mode_t _Mode;
    int _How;
    bool _Through = false;   // a device or a pipe: written in place
    bool _Anonymous = false; // O_TMPFILE: named only just before the rename
    int _Directory;          // what the names are relative to
    bool _New = false;       // nothing at the target's name: linked, not renamed
    int _Error = 0;
};

// One call for content already in memory.
int zbReplaceFile(const char* iTarget, const void* iData, size_t iCount, mode_t iMode = 0644,
                  int iHow = zbFileReplacer::Sync);

// A symbolic link with the text iText in iTarget's place, made beside it
// and renamed over whatever is there (a file or a link, never followed):
// on failure the old target is left as it was.
int zbReplaceWithLink(const char* iText, const char* iTarget);

#endif
