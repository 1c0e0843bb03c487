#ifndef zbSharedMemoryS_H
#define zbSharedMemoryS_H
// The server side of a shared-memory segment: creates it (mode 0600, locked
// in memory when the system allows it), appends blocks, and removes it.
// Destroying a server that still holds a segment removes the segment.

#include "zbSharedMemory.h"

class zbSharedMemoryS : public zbSharedMemory
{
  public:
    zbSharedMemoryS() = default;
    zbSharedMemoryS(unsigned int iSize, unsigned int iIndexRatio)
        : zbSharedMemory(iSize, iIndexRatio)
    {
    }
    ~zbSharedMemoryS() override;

    // Closes what is held, then creates and attaches a new segment.  A
    // failure after the segment was created removes it again.
    int Open();
    // Appends the block iKey of iLength bytes.  The key must not be empty
    // nor hold '|' or a newline; the line and the data must fit (a block
    // never ends exactly at the end of the segment).  The data is in place
    // before its index line appears, so a client never sees a line whose
    // bytes are not written yet.
    int Append(const char* iKey, const char* iData, unsigned int iLength);
    // Percentages of the index area (its NUL counted) and of the data area
    // in use.
    void GetInfo(double& oIndexUse, double& oDataUse) const;
    unsigned int GetIndexUsed() const { return _IndexUsed; }
    unsigned int GetDataUsed() const { return _DataUsed; }

    // Detaches and removes the segment.
    int Close() override;
    void Reset() override;

  private:
    unsigned int _IndexUsed = 0;
    unsigned int _DataUsed = 0;
};

#endif
