#ifndef zbGetBuildLevel_H
#define zbGetBuildLevel_H
// The build level of the library, fixed when it is built.  Stores the level
// text through oLevel (null when the library carries no positive level
// number) and returns the build date and time text.

const char* zbGetBuildLevel(char** oLevel);

#endif
