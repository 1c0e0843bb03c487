#include "zbSharedMemoryC.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <sys/ipc.h>
#include <sys/shm.h>

zbSharedMemoryC::~zbSharedMemoryC()
{
    Close();
}

int zbSharedMemoryC::Open(const char* iName)
{
    if (Close() == -1)
        return -1;
    if (!iName)
        return _Fail(InvalidArgument);
    std::snprintf(_Name, sizeof _Name, "%s", iName);
    // A name that is not a number, or one too large for an identifier,
    // names no segment: the attach fails.
    int id = -1;
    if (*iName >= '0' && *iName <= '9')
    {
        errno = 0;
        const long value = std::strtol(iName, nullptr, 10);
        if (errno == 0 && value <= INT_MAX)
            id = static_cast<int>(value);
    }
    void* memory = shmat(id, nullptr, SHM_RDONLY);
    if (memory == reinterpret_cast<void*>(-1))
        return _FailSystem(errno);
    // Extract reads up to the size this client was built with: a smaller
    // segment would make it read past its end.
    struct shmid_ds status;
    if (shmctl(id, IPC_STAT, &status) == -1)
    {
        const int error = errno;
        shmdt(memory);
        return _FailSystem(error);
    }
    if (status.shm_segsz < _Size)
    {
        shmdt(memory);
        return _Fail(SegmentTooSmall);
    }
    _Memory = static_cast<char*>(memory);
    _Id = id;
    return 0;
}

int zbSharedMemoryC::Close()
{
    _Name[0] = '\0';
    _ReleaseIndexCopy();
    if (_Memory != NotAttached())
    {
        if (shmdt(_Memory) == -1)
            return _FailSystem(errno);
        _Memory = NotAttached();
        _Id = -1;
    }
    return 0;
}

void zbSharedMemoryC::Reset()
{
    if (Close() == -1)
    {
        _Memory = NotAttached();
        _Id = -1;
    }
}
