// Fuzz target: zbInterfaceName classification of arbitrary paths.
//
// Input: two paths separated by a NUL byte.  Every way of building a name
// (from the text, from a file name, by assignment, by copy, from its own
// normalised text) gives the same level and generated mark; a generated or
// exposed name names its level; levels compare as their numbers do; the
// framework name is one component after the workspace marker.

#include <cstdint>
#include <cstring>
#include <string>

#include "zbFuzzSupport.h"
#include "zbInterfaceName.h"
#include "zbOFStream.h"

namespace
{
const char kTarget[] = "zbInterfaceName";

void Same(const zbInterfaceName& iA, const zbInterfaceName& iB, const char* iWhat)
{
    zbfuzz::Check(iA.GetExposureLevel() == iB.GetExposureLevel() &&
                      iA.IsAGeneratedInterface() == iB.IsAGeneratedInterface(),
                  kTarget, iWhat);
}

void CheckName(const char* iPath)
{
    const zbInterfaceName name(iPath);
    const int level = name.GetExposureLevel();
    zbfuzz::Check(level >= zbInterfaceName::Unknown && level <= zbInterfaceName::Public, kTarget,
                  "a level out of range");
    zbfuzz::Check(std::strcmp(name.GetExposureName(), zbInterfaceName::_strLevel[level]) == 0,
                  kTarget, "the level name is not that of the level");
    zbfuzz::Check((name.IsAnInterface() != 0) == (level != zbInterfaceName::Unknown), kTarget,
                  "an interface without level");
    zbfuzz::Check(!name.IsAGeneratedInterface() || name.IsAnInterface(), kTarget,
                  "a generated name that is no interface");

    Same(zbInterfaceName(zbFileName(iPath)), name, "built from a file name, another level");
    Same(zbInterfaceName(name), name, "the copy has another level");
    zbInterfaceName assigned;
    assigned = iPath;
    Same(assigned, name, "assigned from the text, another level");
    assigned = zbFileName(iPath);
    Same(assigned, name, "assigned from a file name, another level");
    if (name.GetPtrToFullname())
        Same(zbInterfaceName(name.GetPtrToFullname()), name, "normalised again, another level");

    QORString framework;
    const char* full = name.GetPtrToFullname();
    const char* marker = full ? std::strstr(full, "/./") : nullptr;
    if (name.GetFrameworkName(framework))
        zbfuzz::Check(
            marker && framework.Std().find('/') == std::string::npos &&
                std::strncmp(marker + 3, framework.CastToCharPtr(), framework.Std().size()) == 0,
            kTarget, "a framework name that is not the component after the marker");
    else
        zbfuzz::Check(!marker || !marker[3], kTarget, "a framework name missed");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    static zbOFStream sink("/dev/null", 8);
    const std::string input(reinterpret_cast<const char*>(iData), iSize);
    const std::string first = input.c_str();
    const std::string second = first.size() < input.size() ? input.substr(first.size() + 1) : "";
    CheckName(first.c_str());
    CheckName(second.c_str());

    const zbInterfaceName a(first.c_str()), b(second.c_str());
    const int ab = a.CompareLevel(b), ba = b.CompareLevel(a);
    if (a.IsAnInterface() && b.IsAnInterface())
        zbfuzz::Check(ab == -ba && (ab == 0) == (a.GetExposureLevel() == b.GetExposureLevel()) &&
                          (ab < 0) == (a.GetExposureLevel() < b.GetExposureLevel()),
                      kTarget, "levels that do not compare as their numbers");
    else
        zbfuzz::Check(ab == (a.IsAnInterface() ? 1 : -1), kTarget,
                      "a comparison with a name that is no interface");
    a.Dump(sink);
    return 0;
}
