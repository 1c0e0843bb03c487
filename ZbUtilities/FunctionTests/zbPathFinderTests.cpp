// Path finders: the first directory holding a name wins; case; unreadable directories.

#include <type_traits>

#include "zbPathFinderAccess.h"
#include "zbPathFinder.h"
#include "zbSetOfPathFinder.h"
#include "zbTestConversions.h"
#include "zbTestSupport.h"

namespace
{
// The full name a search gives, marked "missing " when the search fails (the
// name is then left as asked), "bad result " when its result is neither the
// name given nor failure.
template <class Finder> std::string Find(Finder& ioFinder, const char* iName)
{
    zbFileName file;
    auto found = ioFinder.SearchFor(iName, file);
    const char* full = file.GetPtrToFullname();
    std::string mark = "bad result ";
    if constexpr (std::is_pointer_v<decltype(found)>)
        mark = found == &file ? "" : found ? mark : "missing ";
    else
        mark = found == 1 ? "" : found == 0 ? "missing " : mark;
    return mark + (full ? full : "");
}
} // namespace

TEST(zbPathFinder, SearchAndCase)
{
    zbtest::TempDir root;
    for (const char* file : {"one/a.h", "two/a.h", "two/b.h"})
        zbtest::WriteFile(root / file, "");

    zbPathFinder finder;
    // (The order of the directories and the case: see zbsvc find.)
    finder.SetListOfPath(zbtest::StringList({root / "missing", root / "one", root / "two/"}));
    EXPECT_EQ(root / "two/b.h", Find(finder, "b.h"));
    EXPECT_EQ("missing .", Find(finder, "."));
    finder.SetNonCaseSensitive(); // too late: nothing changes
    EXPECT_EQ("missing A.H", Find(finder, "A.H"));

    // The missing directory is left out, the trailing '/' taken away.
    QORListValQORString list;
    EXPECT_EQ(zbtest::Strings(finder.GetListOfPath(list)),
              (std::vector<std::string>{root / "one", root / "two"}));

    zbPathFinder folded;
    folded.SetNonCaseSensitive();
    folded.SetListOfPath(zbtest::StringList({root / "two"}));
    EXPECT_EQ(root / "two/A.H", Find(folded, "A.H"));

    // The set asks its finders in order.
    zbSetOfPathFinder set(folded);
    set.Append(finder);
    EXPECT_EQ(root / "two/a.h", Find(set, "a.h"));
    EXPECT_EQ("missing c.h", Find(set, "c.h"));
    set.RemoveAll();
    EXPECT_EQ("missing a.h", Find(set, "a.h"));
}

namespace
{
// A workspace /ws/./Fw with PublicInterfaces (a.h, b.h) and a module's
// LocalInterfaces (l.h), another framework Other/PublicInterfaces (a.h,
// o.h), and a header map of one more workspace holding m.h and Mixed.H.
struct Layout
{
    zbtest::TempDir _Root;
    std::string _WS;
    Layout() : _WS(_Root.Path() + "/./")
    {
        for (const char* header :
             {"Fw/PublicInterfaces/a.h", "Fw/PublicInterfaces/b.h", "Fw/Mod.m/LocalInterfaces/l.h",
              "Other/PublicInterfaces/a.h", "Other/PublicInterfaces/o.h"})
            zbtest::WriteFile(_Root / header, "");
        zbtest::WriteFile(_Root / "maps/map", "!<zbhl> v2.0.1\n"
                                              "@/ws2/./X/PublicInterfaces\nm.h\nMixed.H\no.h\n"
                                              "@|/ws2/./X/PrivateInterfaces\np.h\n"
                                              "@>/ws2/./X/PublicInterfaces/sub\ns.h\n");
    }
    std::string operator/(const std::string& iName) const { return _WS + iName; }
};
} // namespace

TEST(zbPathFinder, HeaderMapAndFrameworkPaths)
{
    Layout layout;
    zbPathFinder finder;
    finder.SetFWPathname(QORString((layout / "Fw").c_str()));
    finder.SetListOfPath(
        zbtest::StringList({layout / "Fw/PublicInterfaces", layout / "Fw/Mod.m/LocalInterfaces",
                            layout / "Other/PublicInterfaces"}));
    EXPECT_EQ(finder.SetHeaderMap(QORString((layout._Root / "maps/map").c_str())), 0);
    EXPECT_EQ(finder.SetHeaderMap(QORString("/nonexistent")), 0); // only once

    // Scanned directories come first (the map's own lookups: see zbsvc find).
    EXPECT_EQ(layout / "Other/PublicInterfaces/o.h", Find(finder, "o.h"));

    QORListValQORString list;
    // Only directories whose parent lies below the framework directory.
    EXPECT_EQ(zbtest::Strings(finder.GetListOfPathInFW(list)),
              (std::vector<std::string>{layout / "Fw/Mod.m/LocalInterfaces",
                                        "/ws2/./X/PrivateInterfaces"}));
    list.RemoveAll();
    EXPECT_EQ(zbtest::Strings(finder.GetListOfPathFromHeaderMap(list)),
              (std::vector<std::string>{"/ws2/./X/PublicInterfaces", "/ws2/./X/PrivateInterfaces",
                                        "/ws2/./X/PublicInterfaces/sub"}));
    list.RemoveAll();
    list.Append(QORString((layout._Root / "maps").c_str()));
    EXPECT_EQ(
        zbtest::Strings(finder.GetListOfPathForMake(list)),
        (std::vector<std::string>{layout._Root / "maps", layout / "Fw/Mod.m/LocalInterfaces",
                                  "/ws2/./X/PrivateInterfaces", "/ws2/./X/PublicInterfaces/sub"}));

    zbPathFinder noMap;
    list.RemoveAll();
    EXPECT_EQ(noMap.GetListOfPathForMake(list).Size(), 0);
    EXPECT_EQ(noMap.GetListOfPathFromHeaderMap(list).Size(), 0);
    EXPECT_EQ(noMap.SetHeaderMap(QORString("/nonexistent/map")), 1);
}

TEST(zbPathFinder, Stubs)
{
    Layout layout;
    zbPathFinder finder;
    finder.SetFWPathname(QORString((layout / "Fw").c_str()));
    finder.SetListOfPath(zbtest::StringList(
        {layout / "Fw/Mod.m/LocalInterfaces", layout / "Other/PublicInterfaces"}));
    QORListPtrzbFileName headers;
    EXPECT_EQ(finder.CreateStubs(headers), 1); // no header map
    ASSERT_EQ(finder.SetHeaderMap(QORString((layout._Root / "maps/map").c_str())), 0);

    zbFileName a("/any/where/a.h"), l("l.h"), m("m.h"), p("p.h"), o("o.h"), missing("zz.h");
    for (zbFileName* header : {&a, &l, &m, &p, &o, &missing})
        headers.Append(header);
    zbtest::WriteFile(layout._Root / "maps/o.h", "kept\n");
    EXPECT_EQ(finder.CreateStubs(headers), 0);
    EXPECT_EQ(zbtest::ReadFile(layout._Root / "maps/a.h"),
              "#include \"" + layout / "Other/PublicInterfaces/a.h" + "\"\n\n");
    EXPECT_EQ(zbtest::ReadFile(layout._Root / "maps/m.h"),
              "#include \"/ws2/./X/PublicInterfaces/m.h\"\n\n");
    EXPECT_EQ(zbtest::ReadFile(layout._Root / "maps/o.h"), "kept\n");
    // Found inside the framework (scanned or into-FW in the map), or not found.
    for (const char* none : {"maps/l.h", "maps/p.h", "maps/zz.h"})
        EXPECT_NE(access((layout._Root / none).c_str(), F_OK), 0) << none;

    // An empty stub is written again; a new directory is created.
    zbtest::WriteFile(layout._Root / "maps/o.h", "");
    const std::string stubO = "#include \"" + layout / "Other/PublicInterfaces/o.h" + "\"\n\n";
    EXPECT_EQ(finder.CreateStubs(headers), 0);
    EXPECT_EQ(zbtest::ReadFile(layout._Root / "maps/o.h"), stubO);
    EXPECT_EQ(finder.CreateStubs(QORString((layout._Root / "new/stubs").c_str()), headers), 0);
    EXPECT_EQ(zbtest::ReadFile(layout._Root / "new/stubs/o.h"), stubO);

    // A stub that cannot be written is reported; the others still are.
    mkdir((layout._Root / "ro").c_str(), 0755);
    ASSERT_EQ(symlink("/nonexistent/a.h", (layout._Root / "ro/a.h").c_str()), 0);
    zbtest::Capture err(2);
    EXPECT_EQ(finder.CreateStubs(QORString((layout._Root / "ro").c_str()), headers), 1);
    EXPECT_EQ(err.Stop(),
              "# System error on " + layout._Root.Path() + "/ro/a.h: No such file or directory\n");
    EXPECT_EQ(zbtest::ReadFile(layout._Root / "ro/m.h"),
              "#include \"/ws2/./X/PublicInterfaces/m.h\"\n\n");
}

TEST(zbPathFinderAccess, ProbesOnDemandAndCaches)
{
    zbtest::TempDir root;
    mkdir((root / "one").c_str(), 0755);
    zbtest::WriteFile(root / "two/a.h", "");
    zbPathFinderAccess finder;
    finder.SetListOfPath(zbtest::StringList({root / "one", root / "missing", root / "two"}));

    EXPECT_EQ(root / "two/a.h", Find(finder, "a.h"));
    // A file appearing earlier on the path later does not change a cached answer...
    zbtest::WriteFile(root / "one/a.h", "");
    EXPECT_EQ(root / "two/a.h", Find(finder, "a.h"));
    // ...but a name not found is probed again.
    EXPECT_EQ("missing b.h", Find(finder, "b.h"));
    zbtest::WriteFile(root / "one/b.h", "");
    EXPECT_EQ(root / "one/b.h", Find(finder, "b.h"));
    EXPECT_EQ(finder.GetNbNotFound(), 1);

    // Paths are appended, never cleared; earlier cached pointers stay valid.
    finder.SetListOfPath(zbtest::StringList({root.Path()}));
    EXPECT_EQ(root / "two/a.h", Find(finder, "a.h"));
    EXPECT_EQ(root / "one", Find(finder, "one"));
    QORListValQORString list;
    EXPECT_EQ(zbtest::Strings(finder.GetListOfPath(list)),
              (std::vector<std::string>{root / "one", root / "two", root.Path()}));
}
