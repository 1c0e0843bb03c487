#ifndef zbSharedMemoryC_H
#define zbSharedMemoryC_H
// The client side of a shared-memory segment: attaches it read-only by its
// name and extracts blocks (zbSharedMemory::Extract).  A client never
// removes the segment.  Destroying a client detaches it.

#include "zbSharedMemory.h"

class zbSharedMemoryC : public zbSharedMemory
{
  public:
    zbSharedMemoryC() = default;
    zbSharedMemoryC(unsigned int iSize, unsigned int iIndexRatio)
        : zbSharedMemory(iSize, iIndexRatio)
    {
    }
    ~zbSharedMemoryC() override;

    // Closes what is held, then attaches the segment named iName (its
    // identifier in decimal) read-only.  A segment smaller than the size
    // this client was built with is refused.
    int Open(const char* iName);
    // Detaches the segment.
    int Close() override;
    void Reset() override;
};

#endif
