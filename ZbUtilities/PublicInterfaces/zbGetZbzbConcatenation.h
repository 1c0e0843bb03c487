#ifndef zbGetZbzbConcatenation_H
#define zbGetZbzbConcatenation_H
// Search-path lists under installation roots.

#include "QORString.h"

// Appends the roots of iOverride, then those of iConcatenation (both
// ':'-separated lists, either may be null), to ioList; then makes every
// entry of ioList (also those there before) ROOT/./RUNTIME[/iSubDirectory]
// followed by /BUILDTIME, and appends the same entries without /BUILDTIME
// after them all.  RUNTIME and BUILDTIME are the context's OS names.
void zbGetZbzbConcatenation(QORListValQORString& ioList, const char* iConcatenation,
                            const char* iSubDirectory, const char* iOverride);

#endif
