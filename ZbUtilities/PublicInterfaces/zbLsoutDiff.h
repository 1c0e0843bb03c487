#ifndef zbLsoutDiff_H
#define zbLsoutDiff_H
// The comparison of two listing files path by path, their lines read as
// zbLsoutElement::NextLine reads them (the first line of a path counts):
// the paths only in the new listing (added), only in the old one
// (removed), and in both with another size or time (changed; in text mode
// another first field), handed over sorted by path.
//
// Listings sorted by path are merged as they are read, a block at a time;
// as soon as either turns out not to be sorted, the comparison starts over
// through a table of the old listing's paths.

#include "zbLsoutElement.h"

class zbLsoutDiff
{
  public:
    using Line = zbLsoutElement::Line;

    // Where the findings go, sorted by path: an added path has no old line,
    // a removed one no new line.  The lines are valid during the call.
    class Sink
    {
      public:
        virtual ~Sink() = default;
        virtual void Finding(const Line* iOld, const Line* iNew) = 0;
    };

    struct Counts
    {
        long long _Added = 0;
        long long _Removed = 0;
        long long _Changed = 0;
        long long _Unchanged = 0;
    };

    // Compares the listings iOld and iNew and hands the findings to ioSink
    // when it is given.  0, or 1 after reporting a listing that cannot be
    // read or holds a NUL byte (nothing is handed over then).
    static int Compare(const char* iOld, const char* iNew, int iTextMode, Sink* ioSink,
                       Counts& oCounts);
};

#endif
