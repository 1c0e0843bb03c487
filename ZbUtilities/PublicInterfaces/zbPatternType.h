#ifndef zbPatternType_H
#define zbPatternType_H
// Which section of the pattern table describes the "various" directory.
// 1 selects the reduced section (and adds flag 1118 in the objects and all
// filters); every other value, the framework runtime view's 0 among them,
// selects the full section.

enum zbPatternType : int
{
    zbFullPatternType = 0,
    zbReducedPatternType = 1,
};

#endif
