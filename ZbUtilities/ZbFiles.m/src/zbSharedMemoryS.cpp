#include "zbSharedMemoryS.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/ipc.h>
#include <sys/shm.h>

zbSharedMemoryS::~zbSharedMemoryS()
{
    // A segment outlives its process unless it is removed: a server that
    // was not closed removes it here.
    if (_Id != -1 || _Memory != NotAttached())
        Close();
}

int zbSharedMemoryS::Open()
{
    if (Close() == -1)
        return -1;
    const int id = shmget(IPC_PRIVATE, _Size, IPC_CREAT | 0600);
    if (id == -1)
        return _FailSystem(errno);
    _Id = id;
    std::snprintf(_Name, sizeof _Name, "%d", id);

    // From here on every failure removes the new segment again, keeping
    // the first error's text.
    struct shmid_ds status;
    int result = 0;
    if (shmctl(id, IPC_STAT, &status) == -1)
        result = _FailSystem(errno);
    else if (status.shm_nattch != 0)
        result = -1; // someone else holds it: not ours to use
    else
    {
        // Kept in memory when the system lets us; swapped otherwise.
        shmctl(id, SHM_LOCK, nullptr);
        void* memory = shmat(id, nullptr, 0);
        if (memory == reinterpret_cast<void*>(-1))
            result = _FailSystem(errno);
        else
            _Memory = static_cast<char*>(memory);
    }
    if (result == -1)
    {
        shmctl(id, IPC_RMID, nullptr);
        _Id = -1;
        _Name[0] = '\0';
    }
    return result;
}

int zbSharedMemoryS::Append(const char* iKey, const char* iData, unsigned int iLength)
{
    if (!IsGood() || !iKey || !*iKey || (!iData && iLength) || std::strpbrk(iKey, "|\n"))
        return _Fail(InvalidArgument);
    char number[24];
    const int digits =
        std::snprintf(number, sizeof number, "%lu", static_cast<unsigned long>(iLength));
    const size_t keyLength = std::strlen(iKey);
    const unsigned long long lineLength = keyLength + 1 + static_cast<unsigned>(digits) + 1;
    const unsigned long long indexSize = GetIndexSize();
    if (indexSize <= _IndexUsed + lineLength + 1 ||
        indexSize + _DataUsed + iLength >= static_cast<unsigned long long>(_Size))
        return _Fail(NoSpace);

    // The data first, then the line and its NUL, and the line's first byte
    // (over the old NUL) last: a client copying the index meanwhile sees
    // the old index or the new one, never a line without its data.
    if (iLength)
        std::memcpy(_Memory + indexSize + _DataUsed, iData, iLength);
    char* line = _Memory + _IndexUsed;
    std::memcpy(line + 1, iKey + 1, keyLength - 1);
    line[keyLength] = '|';
    std::memcpy(line + keyLength + 1, number, static_cast<size_t>(digits));
    line[lineLength - 1] = '\n';
    line[lineLength] = '\0';
    std::atomic_thread_fence(std::memory_order_release);
    __atomic_store_n(line, iKey[0], __ATOMIC_RELEASE);

    _IndexUsed += static_cast<unsigned int>(lineLength);
    _DataUsed += iLength;
    return 0;
}

void zbSharedMemoryS::GetInfo(double& oIndexUse, double& oDataUse) const
{
    const double index = GetIndexSize();
    const double data = GetDataSize();
    oIndexUse = index > 0 ? (1.0 - (index - _IndexUsed - 1) / index) * 100.0 : 0.0;
    oDataUse = data > 0 ? (1.0 - (data - _DataUsed) / data) * 100.0 : 0.0;
}

int zbSharedMemoryS::Close()
{
    int result = 0;
    _Name[0] = '\0';
    _IndexUsed = _DataUsed = 0;
    _ReleaseIndexCopy();
    if (_Memory != NotAttached() && shmdt(_Memory) == -1)
        result = _FailSystem(errno);
    if (_Id != -1 && shmctl(_Id, IPC_RMID, nullptr) == -1)
        result = _FailSystem(errno);
    _Memory = NotAttached();
    _Id = -1;
    return result;
}

void zbSharedMemoryS::Reset()
{
    if (Close() == -1)
    {
        _Memory = NotAttached();
        _Id = -1;
    }
}
