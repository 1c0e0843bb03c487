// Fuzz target: zbMacroSet::InsertFile on arbitrary description files whose
// include lines are followed through path finders.
//
// Input: up to four files (see zbFuzzSupport.h), written as main.mk, a.mk,
// b.mk and c.mk of one directory that a path finder scans, behind a finder
// of an empty directory.  The macros read keeping the first values have the
// same names as those read replacing them; reading without finders gives
// no name that reading with them lacks.  The set is then resolved and
// printed.

#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <sys/stat.h>

#include "zbFuzzSupport.h"
#include "zbMacroSet.h"
#include "zbOFStream.h"
#include "zbPathFinder.h"
#include "zbSetOfPathFinder.h"

namespace
{
const char kTarget[] = "zbMacroSetInsertFile";
const char* const kFiles[] = {"main.mk", "a.mk", "b.mk", "c.mk"};

std::set<std::string> Names(const zbMacroSet& iSet)
{
    std::set<std::string> names;
    const QORString* cursor = nullptr;
    QORString name;
    while (iSet.Next(cursor, name))
        names.insert(name.Std());
    return names;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    static zbfuzz::Scratch scratch("macros");
    static zbOFStream sink("/dev/null", 8);
    static const std::string dir = scratch.Path("inc");
    static const std::string none = scratch.Path("none");
    ::mkdir(dir.c_str(), 0755);
    ::mkdir(none.c_str(), 0755);
    const std::vector<std::string> parts = zbfuzz::Split(iData, iSize, 4);
    for (size_t i = 0; i < 4; ++i)
    {
        const std::string path = dir + "/" + kFiles[i];
        if (i < parts.size())
        {
            if (!zbfuzz::WriteFile(path, parts[i]))
                return 0;
        }
        else
            std::remove(path.c_str());
    }
    const std::string main = dir + "/main.mk";

    QORListValQORString empty, real;
    empty.Append(QORString(none.c_str()));
    real.Append(QORString(dir.c_str()));
    zbPathFinder nothing, finder;
    nothing.SetListOfPath(empty);
    finder.SetListOfPath(real);
    zbSetOfPathFinder finders;
    finders.Append(nothing);
    finders.Append(finder);

    zbMacroSet replaced(31), kept(31), alone(31);
    int failures = replaced.InsertFile(main.c_str(), &finders, '=', zbMacroSet::ReplaceExisting);
    int again = kept.InsertFile(main.c_str(), &finders, '=', zbMacroSet::KeepExisting);
    alone.InsertFile(main.c_str(), nullptr, '=', zbMacroSet::ReplaceExisting);
    zbfuzz::Check(failures >= 0 && again == failures, kTarget,
                  "the insert mode changed the number of failures");
    const std::set<std::string> names = Names(replaced);
    zbfuzz::Check(Names(kept) == names, kTarget, "the insert mode changed the names");
    for (const std::string& name : Names(alone))
        zbfuzz::Check(names.count(name) == 1, kTarget, "a name lost by following includes");

    replaced.Solve(&kept);
    replaced.Print(sink);
    return 0;
}
