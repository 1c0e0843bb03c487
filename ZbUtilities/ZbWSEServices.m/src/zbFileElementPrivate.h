#ifndef zbFileElementPrivate_H
#define zbFileElementPrivate_H
// What the sources of zbFileElement share (private to this module): the
// fixed texts of its failures, the checks of modes and types, the warning
// line, and how many directories a walk holds open.

#include "zbFileElement.h"
#include "zbOFStream.h"
#include "zbPathSeparators.h"

namespace zbFileElementPrivate
{
inline constexpr char kNoSuchFile[] = "No such file or directory";
inline constexpr char kNotADirectory[] = "not a directory";
inline constexpr char kTargetNotADirectory[] = "target is not a directory";
inline constexpr char kBadLink[] = "bad symbolic link";
inline constexpr char kLinkToDirectory[] = "symbolic link point to a directory";
inline constexpr char kLinkToHoldingDirectory[] =
    "symbolic link point to a directory that holds it";
inline constexpr char kInvalidMode[] =
    "invalid mode of expansion, use RECURSIVE_MODE, NOT_RECURSIVE_MODE or RECURSIVE_FORCED_MODE";

// The prefixes of the trace lines, by operation.
inline constexpr char kInComputeStat[] = "# Error in ComputeStat() : ";
inline constexpr char kInGetLink[] = "# Error in GetLink() : ";
inline constexpr char kInExpand[] = "# Error in _Expand() : ";
inline constexpr char kInDelete[] = "# Error in Delete() : ";
inline constexpr char kInRename[] = "# Error in Rename() : ";
inline constexpr char kInDuplicate[] = "# Error in Duplicate() : ";
inline constexpr char kInUpdateRights[] = "# Error in UpdateRights() : ";
inline constexpr char kInWriteTimeStamps[] = "# Error in WriteTimeStamps() : ";

inline constexpr char kSeparator = zbPathSeparator[0];
inline constexpr char kDosSeparator = zbDosPathSeparator[0];

// Directories held open down one walk (an expansion, or both sides of a
// copy): past that depth, the deeper ones are reached by their full names.
inline constexpr int kOpenDirectories = 128;

inline bool IsValidMode(int iMode)
{
    return iMode == RECURSIVE_MODE || iMode == NOT_RECURSIVE_MODE || iMode == RECURSIVE_FORCED_MODE;
}

// The type code of a file of mode iMode.
inline int TypeOfMode(unsigned int iMode)
{
    switch (iMode & 0xF000)
    {
    case 0x4000:
        return ZBIO_DIRECTORY;
    case 0xA000:
        return ZBIO_SYMBOLIC_LINK;
    default:
        return ZBIO_FILE;
    }
}

// A warning line on standard error, with the trace on.
inline void Warning(const char* iText, const char* iName, const char* iEnd = "")
{
    if (zbFileElement::Trace)
        zbStderr.Print("%s%s%s\n", iText, iName ? iName : "", iEnd);
}
} // namespace zbFileElementPrivate

#endif
