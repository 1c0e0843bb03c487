#ifndef zbDirectory_H
#define zbDirectory_H
// Reader of one directory's entries, "." and ".." left out.

#include <dirent.h>

class zbDirectory
{
  public:
    // opendir; on failure the recorded errno is kept (Failed()).  A failure
    // to read the entries ends them and is kept the same way: a walk that
    // ends with Failed() saw only part of the directory.
    explicit zbDirectory(const char* iPath);
    zbDirectory(const zbDirectory&) = delete;
    zbDirectory& operator=(const zbDirectory&) = delete;
    virtual ~zbDirectory();

    int Failed() const { return _Error != 0 ? 1 : 0; }
    int GetError() const { return _Error; }
    void Rewind();
    // The first entry after rewinding; null at the end or when opening failed.
    struct dirent64* FindFirstEnt();
    struct dirent64* FindNextEnt();
    // The current entry when it is not "." or "..", else the next one.
    struct dirent64* CheckEnt();
    // Descriptor of the open directory, or -1.
    int GetFd() const;

  private:
    int _Error;
    struct dirent64* _Entry;
    DIR* _Dir;
};

#endif
