#ifndef zbLineBlocks_H
#define zbLineBlocks_H
// A file read through one buffer a block at a time and handed over as runs
// of whole lines: the line cut at the end of a block moves to the front of
// the next, and the buffer grows for a line longer than itself.  However
// large the file, memory stays small and its pages are touched once; the
// readers of long lists of lines (names to look up, listings to compare)
// go through it.

#include <cstddef>
#include <memory>

class zbLineBlocks
{
  public:
    explicit zbLineBlocks(size_t iBlockSize = size_t(1) << 18);
    zbLineBlocks(const zbLineBlocks&) = delete;
    zbLineBlocks& operator=(const zbLineBlocks&) = delete;

    // Starts reading iFd (not owned) from where it stands.
    void Start(int iFd);
    // The next run of whole lines [oBegin, oEnd), each ended by a line feed
    // but perhaps the last line of the file; valid, and writable, until the
    // next call.  0, with an empty run at the end; or the errno of a failed
    // read.
    int Next(char*& oBegin, char*& oEnd);

  private:
    std::unique_ptr<char[]> _Block;
    size_t _Size;
    int _Fd = -1;
    size_t _Next = 0; // where the lines not handed over begin
    size_t _End = 0;  // of what was read
    bool _AtEnd = false;
};

#endif
