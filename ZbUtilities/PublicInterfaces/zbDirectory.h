#ifndef zbDirectory_H
#define zbDirectory_H
// The library's one reader of directories: every listing (zbDirectoryListing,
// the expansion of file-element trees, path finders, header directories, the
// removal of trees) reads its entries here.  The directory is opened as a
// descriptor, by name or relative to a directory already open, and its
// entries are read in batches (getdents64) and handed out one at a time,
// "." and ".." left out.  The batch is released once the entries are over,
// so that a walk holding many directories open holds no batch but the one
// it reads.

#include <cstddef>
#include <dirent.h>

class zbDirectory
{
  public:
    // Opens iPath; on failure the recorded errno is kept (Failed()).  A
    // failure to read the entries ends them and is kept the same way: a
    // walk that ends with Failed() saw only part of the directory.
    explicit zbDirectory(const char* iPath);
    // Opens iName relative to the open directory iDirectory (AT_FDCWD: the
    // working directory).
    zbDirectory(int iDirectory, const char* iName);
    zbDirectory(const zbDirectory&) = delete;
    zbDirectory& operator=(const zbDirectory&) = delete;
    virtual ~zbDirectory();

    int Failed() const { return _Error != 0 ? 1 : 0; }
    int GetError() const { return _Error; }
    // Back to the first entry.
    void Rewind();
    // The first entry after rewinding; null at the end or when opening failed.
    struct dirent64* FindFirstEnt();
    // The next entry (valid until the next call); null at the end.
    struct dirent64* FindNextEnt();
    // The current entry when it is not "." or "..", else the next one.
    struct dirent64* CheckEnt();
    // Descriptor of the open directory (for the *at calls on its entries), or -1.
    int GetFd() const { return _Fd; }
    // Closes the directory now: no more entries, GetFd() is -1.
    void Close();

  private:
    // Reads the next batch: false at the end or after a failure.
    bool _Fill();
    void _Release();

    int _Error;
    struct dirent64* _Entry;
    int _Fd;
    char* _Batch; // entries as the system gives them; null when none held
    size_t _Used; // bytes of the batch filled
    size_t _Next; // offset of the next entry in the batch
    bool _Over;   // the system said there are no more entries
};

#endif
