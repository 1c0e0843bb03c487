// File-element trees: names, stat, links, expansion, lists, comparison, disk operations.

#include <sys/resource.h>

#include "zbFileElement.h"
#include "zbFileElementExtension.h"
#include "zbPatternList.h"
#include "zbTestConversions.h"
#include "zbTestSupport.h"

namespace
{
std::string Message(zbFileElement& iNode)
{
    return iNode.GetLastErrorMessage().ConvertToUTF8();
}

// Base names of the tree below iNode, depth first, as "a a/b a/c" relative
// to iNode (a link's target is not listed apart).
void Walk(const zbFileElement& iNode, const std::string& iPrefix, std::string& oOut, bool iFilters)
{
    QORListPtrzbFileElement* children = iNode.GetListOfSubElement();
    if (!children)
        return;
    std::map<std::string, const zbFileElement*> sorted;
    for (const zbFileElement* child : *children)
        sorted[child->GetBaseName()] = child;
    for (const auto& [name, child] : sorted)
    {
        if (child->HasALinkFather())
            continue;
        std::string path = iPrefix + name;
        oOut += (oOut.empty() ? "" : " ") + path;
        if (iFilters)
            oOut += "=" + std::to_string(child->GetFilter());
        Walk(*child, path + "/", oOut, iFilters);
        if (QORListPtrzbFileElement* target = child->GetListOfSubElement())
            if (target->Size() == 1 && (*target)[1]->HasALinkFather())
                Walk(*(*target)[1], path + "/", oOut, iFilters);
    }
}

std::string Tree(const zbFileElement& iNode, bool iFilters = false)
{
    std::string out;
    Walk(iNode, "", out, iFilters);
    return out;
}

using Set = std::set<std::string>;

// The full names of a list, less the iPrefix they begin with and a separator.
Set Relative(const QORListPtrzbFileElement& iList, const std::string& iPrefix)
{
    Set names;
    for (const zbFileElement* node : iList)
        names.insert(node->GetFullName() + iPrefix.size() + 1);
    return names;
}

// The parts of a text between iSeparator.
Set Split(const std::string& iText, char iSeparator)
{
    Set parts;
    std::istringstream in(iText);
    for (std::string part; std::getline(in, part, iSeparator);)
        parts.insert(part);
    return parts;
}

struct stat Lstat(const std::string& iPath)
{
    struct stat st = {};
    ::lstat(iPath.c_str(), &st);
    return st;
}

// Files holding their own name, with their directories; "d/" an empty
// directory.
void Make(const zbtest::TempDir& iDir, std::initializer_list<std::string> iPaths)
{
    for (const std::string& path : iPaths)
        if (path.back() == '/')
            zbtest::MakeDirs(iDir / path.substr(0, path.size() - 1));
        else
            zbtest::WriteFile(iDir / path, path);
}

// The links to directories followed or not for a test, traces off; reset.
struct Statics
{
    explicit Statics(int iWithDirectory = 0) { Set(iWithDirectory); }
    ~Statics() { Set(0); }
    static void Set(int iWithDirectory)
    {
        zbFileElement::SymbolicLinkWithDirectory = iWithDirectory;
        zbFileElement::Trace = 0;
    }
};
} // namespace

TEST(zbFileElement, NamesStatAndLinks)
{
    // Path, full name, base name, path name.
    const std::tuple<const char*, const char*, const char*, const char*> names[] = {
        {"x", "x", "x", "."},       {"/", "/", "/", "/"},          {"///", "/", "/", "/"},
        {"/a", "/a", "a", "/"},     {"/a/b//", "/a/b", "b", "/a"}, {"a\\b\\c", "a/b/c", "c", "a/b"},
        {"a//b", "a//b", "b", "a"}, {"", "/", "/", "/"},
    };
    for (const auto& [path, fullName, baseName, pathName] : names)
    {
        zbFileElement node(path);
        EXPECT_STREQ(node.GetFullName(), fullName) << path;
        EXPECT_STREQ(node.GetBaseName(), baseName) << path;
        char* computed = node.GetPathName();
        EXPECT_STREQ(computed, pathName) << path;
        free(computed);
    }
    EXPECT_STREQ(zbFileElement("\\d\\e\\\\", "f").GetFullName(), "/d/e/f");
    EXPECT_TRUE(zbFileElement("/", "etc").IsDirectory());
    char* normal = zbFileElement::NormalizePath("a\\b/c\\");
    EXPECT_STREQ(normal, "a/b/c/");
    free(normal);
    EXPECT_EQ(zbFileElement::NormalizePath(nullptr), nullptr);

    zbtest::TempDir dir;
    Make(dir, {"d/", "f"});
    // (Whatever a link's text, its target is what the system resolves; a
    // text of 2000 bytes is read whole by zbsvc copytree, copytree.t.)
    const std::pair<const char*, const char*> links[] = {
        {"tofile", "f"}, {"todir", "d"}, {"dangling", "missing"}};
    for (const auto& [name, text] : links)
        ASSERT_EQ(::symlink(text, (dir / name).c_str()), 0);

    // Name, links to directories followed, result of ComputeStat, type of
    // the target child (-1: none), message.
    const std::tuple<const char*, int, int, int, const char*> cases[] = {
        {"missing", 0, -1, -1, "No such file or directory"},        {"tofile", 0, 0, 201, ""},
        {"todir", 0, -1, -1, "symbolic link point to a directory"}, {"todir", 1, 0, 200, ""},
        {"dangling", 1, -1, 0, "No such file or directory"},
    };
    for (const auto& [name, withDirectory, result, targetType, message] : cases)
    {
        Statics statics(withDirectory);
        zbFileElement node(dir.Path().c_str(), name);
        EXPECT_EQ(node.ComputeStat(), result) << name;
        EXPECT_EQ(Message(node), message) << name;
        QORListPtrzbFileElement* children = node.GetListOfSubElement();
        int childCount = children ? children->Size() : 0;
        EXPECT_EQ(std::make_pair(childCount, node.IsExpanded()),
                  std::make_pair(targetType < 0 ? 0 : 1, targetType < 0 ? 0 : 1))
            << name;
        // The target shares the link's full name.
        if (const zbFileElement* t = childCount == 1 ? (*children)[1] : nullptr)
        {
            EXPECT_EQ(std::make_tuple(t->GetType(), t->GetFullName(), t->HasALinkFather(),
                                      t->GetStat() != nullptr),
                      std::make_tuple(targetType, node.GetFullName(), 1, targetType != 0))
                << name;
        }
    }
    // (What a node stands for, itself or its link's target, a file or a
    // directory, is what zbFileElementExtension reads markers and frameworks
    // through: zbFileElementExtensionTests, installtype.t, rtview.t.)
}

// The tree a/ a/b/ c/ f a/g a/b/h c/k and one link, expanded.  Links to
// directories kept are resolved, never walked.  Whatever its text, a link
// into a directory on the way down from the root, or above it, is not
// walked; one to a sibling is.
TEST(zbFileElement, ExpandAndQuery)
{
    // Link, its text ('@' stands for the tree's root), links to directories
    // followed, node expanded, mode (RECURSIVE_MODE: the forced one too),
    // result, the tree or the node's message.
    const int kept = zbFileElement::LinkToDirectoryKept, all = RECURSIVE_MODE;
    const std::tuple<const char*, const char*, int, const char*, int, int, std::string> cases[] = {
        {"l", "a", kept, "", all, 0, "a a/b a/b/h a/g c c/k f l"},
        {"l", "a", 1, "", NOT_RECURSIVE_MODE, 0, "a c f l"},
        {"l", "a", 1, "", all, 0, "a a/b a/b/h a/g c c/k f l l/b l/b/h l/g"},
        {"l", "a", 1, "f", all, -1, "not a directory"},
        {"l", "a", 1, "missing", all, -1, "No such file or directory"},
        {"l", "a", 1, "a", 99, -1,
         "invalid mode of expansion, use RECURSIVE_MODE, NOT_RECURSIVE_MODE or "
         "RECURSIVE_FORCED_MODE"},
        {"a/top", "@", 1, "", all, 0, "a a/b a/b/h a/g a/top c c/k f"},
        {"a/above", "../..", 1, "", all, 0, "a a/above a/b a/b/h a/g c c/k f"},
        {"a/sibling", "../c", 1, "", all, 0, "a a/b a/b/h a/g a/sibling a/sibling/k c c/k f"},
    };
    for (const auto& [link, text, withDirectory, path, firstMode, result, expected] : cases)
        for (int mode : {firstMode, firstMode == all ? RECURSIVE_FORCED_MODE : firstMode})
        {
            SCOPED_TRACE(std::string(link) + " " + path + " " + std::to_string(mode));
            zbtest::TempDir dir;
            Make(dir, {"f", "a/g", "a/b/h", "c/k"});
            const std::string target = *text == '@' ? dir.Path() + (text + 1) : text;
            ASSERT_EQ(::symlink(target.c_str(), (dir / link).c_str()), 0);
            Statics statics(withDirectory);
            zbFileElement root((dir / path).c_str());
            EXPECT_EQ(root.Expand(mode), result);
            EXPECT_EQ(result ? Message(root) : Tree(root), expected);
            zbFileElement* node = root.SearchSubElement(link);
            if (!node && !result)
                node = root.SearchSubElement("a")->SearchSubElement(link + 2);
            if (!node)
                continue;
            QORListPtrzbFileElement* children = node->GetListOfSubElement();
            ASSERT_TRUE(children && children->Size() == 1);
            const bool walked = expected.find(link + std::string("/")) != std::string::npos;
            EXPECT_EQ((*children)[1]->IsExpanded(), walked);
            EXPECT_EQ(
                Message(*(*children)[1]),
                walked || link[0] == 'l' ? "" : "symbolic link point to a directory that holds it");
        }

    // Queries on an expanded tree.
    zbtest::TempDir dir;
    Make(dir, {"c/", "f", "a/g", "a/b/h"});
    ::symlink("a", (dir / "l").c_str());
    Statics statics(1);
    zbFileElement root(dir.Path().c_str());
    EXPECT_EQ(root.Expand(RECURSIVE_MODE), 0);
    EXPECT_EQ(root.IgnoreSubElement("c"), 1);
    EXPECT_EQ(root.IgnoreSubElement("c"), 0);
    EXPECT_EQ(root.SearchSubElement("l")->IgnoreSubElement("b"), 1);
    EXPECT_EQ(Tree(root), "a a/b a/b/h a/g f l l/g");
    QORListPtrzbFileElement files;
    root.GetListOfAllSubElementFile(files);
    EXPECT_EQ(Relative(files, dir.Path()), (Set{"a/b/h", "a/g", "f", "l/g"}));

    // Expanding again starts over: what was ignored comes back.
    EXPECT_EQ(root.Expand(RECURSIVE_MODE), 0);
    EXPECT_EQ(Tree(root), "a a/b a/b/h a/g c f l l/b l/b/h l/g");
}

TEST(zbFileElement, DeepTrees)
{
    // A directory deep enough that its full name cannot be opened: its
    // parent lists it, expanding it fails.
    zbtest::TempDir dir;
    Make(dir, {"deep/", "a/f", "b/g"});
    std::string deep = dir / "deep";
    const std::string component(250, 'd');
    int fd = ::open(deep.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    size_t length = deep.size();
    while (length < 4200)
    {
        ASSERT_EQ(::mkdirat(fd, component.c_str(), 0755), 0);
        int next = ::openat(fd, component.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
        length += component.size() + 1;
    }
    ::close(fd);

    // The forced walk goes on past the failure, the other stops there.
    for (const auto& [mode, tree] :
         {std::pair<int, const char*>{RECURSIVE_FORCED_MODE, "a a/f b b/g deep"},
          {RECURSIVE_MODE, ""}})
    {
        zbFileElement root(dir.Path().c_str());
        EXPECT_EQ(root.Expand(mode), -1);
        EXPECT_EQ(Message(root), "File name too long");
        EXPECT_EQ(root.IsExpanded() != 0, *tree != 0);
        EXPECT_EQ(root.GetListOfSubElement()->Size(), *tree ? 3 : 0);
        EXPECT_EQ(Tree(root).substr(0, std::strlen(tree)), tree);
    }

    // Far deeper than the directories a walk holds open: both walks reach the
    // bottom, the copy by names past that depth.
    zbtest::TempDir tall;
    std::string path = tall / "deep";
    for (int level = 0; level < 200; ++level)
    {
        ASSERT_EQ(::mkdir(path.c_str(), 0755), 0);
        path += "/d";
    }
    zbtest::WriteFile(path, "bottom");
    ::mkdir((tall / "copy").c_str(), 0755);
    // Fewer descriptors than the levels of both sides of the copy.
    struct rlimit saved;
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    struct rlimit few = saved;
    few.rlim_cur = 320;
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &few), 0);

    zbFileElement tree((tall / "deep").c_str());
    const int expanded = tree.Expand(RECURSIVE_MODE);
    zbFileElement target((tall / "copy").c_str());
    const int copied = tree.Duplicate(target, 1, RECURSIVE_MODE);
    ::setrlimit(RLIMIT_NOFILE, &saved);
    ASSERT_EQ(expanded, 0) << Message(tree);
    QORListPtrzbFileElement files;
    tree.GetListOfAllSubElementFile(files);
    ASSERT_EQ(files.Size(), 1);
    EXPECT_STREQ(files[1]->GetFullName(), path.c_str());
    ASSERT_EQ(copied, 0) << Message(tree);
    EXPECT_EQ(zbtest::ReadFile(tall / "copy" + path.substr(tall.Path().size())), "bottom");
}

TEST(zbFileElement, FilteredExpansionAndAddedSubElements)
{
    // A framework with two modules; the sources filter and its test flag.
    zbtest::TempDir dir;
    Make(dir, {"Fw/.sniffdir/", "Fw/Imakefile.mk", "Fw/A.m/Imakefile.mk", "Fw/A.m/src/a.cpp",
               "Fw/A.m/Objects/linux/a.o", "Fw/PublicInterfaces/A.h", "Fw/PrivateGenerated/x",
               "Fw/FunctionTests/t.cpp", "Fw/FunctionTests/Output/o", "Fw/README"});
    zbtest::Owned<QORListPtrzbPatternFlag> flags{113, 112, 115, 118};
    zbtest::Taken<QORListPtrzbPattern> templates(BuildPatternList(flags, zbFullPatternType));
    zbtest::Owned<QORListPtrzbString> os{"linux"}, mods{"*.m*"}, fws{(dir / "Fw").c_str()};
    zbtest::Taken<QORListPtrzbPattern> patterns(SubstKeyInPattern(*templates, os, mods, fws));

    zbFileElement fw((dir / "Fw").c_str());
    fw.SetPattern(patterns.get());
    fw.SetFilter(zbFileElement::ComputeFilter(fw.GetFullName(), patterns.get()));
    EXPECT_EQ(fw.GetFilter(), ZBIO_FOLLOW);
    EXPECT_EQ(fw.FilterExpand(RECURSIVE_MODE), 0);
    EXPECT_TRUE(fw.IsFiltered());
    EXPECT_EQ(Tree(fw, true), "A.m=53 A.m/Imakefile.mk=54 A.m/src=54 A.m/src/a.cpp=54 "
                              "FunctionTests=53 FunctionTests/t.cpp=54 PublicInterfaces=53 "
                              "PublicInterfaces/A.h=54");

    // Everything below a 54 directory comes with 54, without matching.
    zbFileElement objects((dir / "Fw/A.m").c_str());
    objects.SetFilter(ZBIO_FOLLOW_FOR_EVER);
    EXPECT_EQ(objects.FilterExpand(RECURSIVE_MODE), 0);
    EXPECT_EQ(Tree(objects, true), "Imakefile.mk=54 Objects=54 Objects/linux=54 "
                                   "Objects/linux/a.o=54 src=54 src/a.cpp=54");
    // Without a pattern list nothing is selected.
    zbFileElement bare((dir / "Fw").c_str());
    EXPECT_EQ(bare.FilterExpand(RECURSIVE_MODE), 0);
    EXPECT_EQ(bare.GetListOfSubElement()->Size(), 0);
    EXPECT_EQ(zbFileElement::ComputeFilter("/x", nullptr), 0);
    QORListPtrzbPattern none;
    EXPECT_EQ(zbFileElement::ComputeFilter("/x", &none), ZBIO_DONT_FOLLOW);

    // What a delete of the selection would remove: the three selected
    // directories whole, or their selected contents (then not all whole).
    QORListPtrzbFileElement whole, parts;
    EXPECT_EQ(fw.ComputeListForDelete(whole, 1), 1);
    EXPECT_EQ(Relative(whole, dir / "Fw"), (Set{"A.m", "FunctionTests", "PublicInterfaces"}));
    EXPECT_EQ(fw.ComputeListForDelete(parts, 0), 0);
    EXPECT_EQ(Relative(parts, dir / "Fw"),
              (Set{"A.m/Imakefile.mk", "A.m/src", "FunctionTests/t.cpp", "PublicInterfaces/A.h"}));

    // Sub-elements added by relative paths, selected.
    zbtest::TempDir sub;
    Make(sub, {"a/b/f", "c/g"});
    const std::tuple<std::vector<const char*>, int, const char*> cases[] = {
        {{"./a/./b"}, 1, "a=53 a/b=54"},
        {{"a/../b"}, 0, ""},
        {{"a/b/f", "a/b", "c", "missing", "c/g/x", "./a"}, 2, "a=53 a/b=53 a/b/f=54 c=54"},
        {{"a//b/", "c\\g"}, 2, "a=53 a/b=54 c=53 c/g=54"},
    };
    for (const auto& [given, added, tree] : cases)
    {
        zbFileElement root(sub.Path().c_str());
        std::vector<const char*> paths = given;
        paths.push_back(nullptr);
        EXPECT_EQ(root.SetListOfSubElement(paths.data(), 1), added) << given[0];
        EXPECT_EQ(Tree(root, true), tree) << given[0];
        EXPECT_EQ(root.GetFilter(), ZBIO_FOLLOW);
        EXPECT_TRUE(root.IsExpanded());
    }
    // A file takes no sub-element and does not count as expanded.
    zbFileElement file((sub / "c/g").c_str());
    EXPECT_EQ(file._AddSubElement("x", 0), 0);
    EXPECT_FALSE(file.IsExpanded());
}

// (What each link mode finds of links that lead somewhere, directories
// above them included, is shown by zbsvc treediff, treediff.t.)
TEST(zbFileElement, CompareAndOperationsOnTheDisk)
{
    // A and B: the same names, a link dangling on both sides, a dangling
    // one only in A.
    zbtest::TempDir dir;
    Make(dir, {"A/f", "B/f", "A/s/x", "B/s/x", "B/s/gone", "B/s/kept"});
    for (const char* link : {"A/dangling", "B/dangling", "A/new"})
        ::symlink("nowhere", (dir / link).c_str());
    // Link mode, what is added, names of the links warned about.
    const std::tuple<int, const char*, const char*> cases[] = {
        {0, "", "dangling new"}, {1, "", "dangling new"}, {2, "new", ""}};
    for (const auto& [linkMode, added, expectedNames] : cases)
    {
        Statics statics(zbFileElement::LinkToDirectoryFollowed);
        zbFileElement a((dir / "A").c_str()), b((dir / "B").c_str());
        ASSERT_EQ(a.Expand(RECURSIVE_MODE), 0);
        ASSERT_EQ(b.Expand(RECURSIVE_MODE), 0);
        zbFileElement::Trace = 1;
        zbtest::Capture err(2);
        const auto found = zbFileElement::Compare(&a, &b, {linkMode, 0, 0, 1});
        // The warnings come in the order of the walk, which is the order of
        // the disk: compared as sets.
        Set warnings;
        for (const std::string& name : Split(expectedNames, ' '))
            warnings.insert("# Warning in CompareList() : bad symbolic link : " + dir / "A/" +
                            name);
        EXPECT_EQ(Split(err.Stop(), '\n'), warnings) << linkMode;
        EXPECT_EQ(Relative(found._Added, dir / "A"), Split(added, ' ')) << linkMode;
        // B was not expanded through patterns: both leftovers are removals.
        EXPECT_EQ(found._Removed.Size(), 2);
        EXPECT_EQ(found.Size(), 2 + found._Added.Size()) << linkMode;
    }

    // Expanded through patterns, B's unselected leftovers are kept out.
    zbFileElement a((dir / "A/s").c_str()), b((dir / "B/s").c_str());
    a.Expand(RECURSIVE_MODE);
    b.Expand(RECURSIVE_MODE);
    b._SetFilter(ZBIO_FOLLOW);
    b.SearchSubElement("gone")->SetFilter(ZBIO_FOLLOW_FOR_EVER);
    b.SearchSubElement("kept")->SetFilter(ZBIO_DONT_FOLLOW);
    for (int keep : {0, 1})
    {
        // The lists given are appended to.
        QORListPtrzbFileElement seven[7];
        seven[1].Append(&a);
        zbFileElement::CompareList(&a, &b, seven[0], seven[1], seven[2], seven[3], seven[4],
                                   seven[5], seven[6], nullptr, 1, keep, 0);
        ASSERT_EQ(seven[1].Size(), keep ? 3 : 2);
        EXPECT_STREQ(seven[1][2]->GetBaseName(), "gone");
    }
    // A side that is absent or not expanded compares nothing; an absent
    // second side makes every entry an addition.
    zbFileElement unexpanded((dir / "A").c_str());
    EXPECT_EQ(zbFileElement::Compare(&unexpanded, &b, {}).Size(), 0);
    const auto alone = zbFileElement::Compare(&a, nullptr, {});
    EXPECT_EQ(std::make_pair(alone._Added.Size(), alone.Size()), std::make_pair(1, 1));

    // Operations on the disk.
    zbtest::TempDir disk;
    Make(disk, {"t/f", "t/d/g", "t/d/e/h"});
    ::symlink("f", (disk / "t/l").c_str());
    Statics reset;

    // Rights, recursively; a link is left alone (its file keeps its mode and
    // times); a bad mode fails.
    zbFileElement tree((disk / "t").c_str());
    ASSERT_EQ(tree.Expand(RECURSIVE_MODE), 0);
    EXPECT_EQ(tree.SearchSubElement("d")->UpdateRights(0750, RECURSIVE_MODE), 0);
    EXPECT_EQ(Lstat(disk / "t/d/e/h").st_mode, S_IFREG | 0750u);
    EXPECT_EQ(tree.SearchSubElement("d")->SearchSubElement("g")->GetStat()->_Mode, S_IFREG | 0750u);
    EXPECT_EQ(tree.SearchSubElement("l")->UpdateRights(0700, NOT_RECURSIVE_MODE), 0);
    EXPECT_EQ(tree.SearchSubElement("l")->WriteTimeStamps(nullptr), 0);
    EXPECT_TRUE((Lstat(disk / "t/f").st_mode & 0777) != 0700 && Lstat(disk / "t/f").st_mtime != 0);
    EXPECT_EQ(tree.UpdateRights(0600, 7), -1);

    // Time stamps from a record, or both 0.
    zbFileElement* f = tree.SearchSubElement("f");
    FileStat times = {0, 123456, 654321, 0, 0};
    EXPECT_EQ(f->WriteTimeStamps(&times), 0);
    EXPECT_EQ(std::make_pair(Lstat(disk / "t/f").st_mtime, Lstat(disk / "t/f").st_atime),
              std::make_pair(time_t(123456), time_t(654321)));
    EXPECT_EQ(f->GetStat()->_ModificationTime, 123456);
    EXPECT_EQ(tree.SearchSubElement("d")->WriteTimeStamps(nullptr), 0);
    EXPECT_EQ(Lstat(disk / "t/d").st_mtime, 0);

    // Duplicate refuses a target that is not a directory and a bad mode.
    zbFileElement notDir((disk / "t/f").c_str());
    EXPECT_EQ(tree.Duplicate(notDir, 1, RECURSIVE_MODE), -1);
    EXPECT_EQ(Message(tree), "target is not a directory");
    zbFileElement target((disk / "copy").c_str());
    EXPECT_EQ(tree.Duplicate(target, 1, 5), -1);
    // A copy over an existing one of another type replaces it.
    Make(disk, {"copy/t/f/", "copy/t/d"});
    target.ComputeStat();
    EXPECT_EQ(tree.Duplicate(target, 1, RECURSIVE_MODE), 0) << Message(tree);
    // (Times, modes and links of a copy are checked through zbsvc copytree.)
    EXPECT_EQ(zbtest::ReadFile(disk / "copy/t/d/e/h"), "t/d/e/h");
    EXPECT_TRUE(S_ISREG(Lstat(disk / "copy/t/f").st_mode));

    // Rename copies the file and keeps the node's names; Delete resets it.
    EXPECT_EQ(f->Rename((disk / "moved").c_str()), 0);
    EXPECT_STREQ(f->GetFullName(), (disk / "t/f").c_str());
    EXPECT_EQ(::access((disk / "t/f").c_str(), F_OK), -1);
    EXPECT_EQ(f->Rename((disk / "moved2").c_str()), -1);
    zbFileElement copy((disk / "copy/t").c_str());
    EXPECT_EQ(copy.Delete(0), 0);
    EXPECT_FALSE(copy.IsExisting());
    EXPECT_EQ(::access((disk / "copy/t").c_str(), F_OK), -1);
    EXPECT_EQ(copy.Delete(0), -1);
    EXPECT_EQ(Message(copy), "No such file or directory");
    zbFileElement link((disk / "t/l").c_str());
    EXPECT_EQ(link.Delete(0), 0);
    EXPECT_EQ(::access((disk / "moved").c_str(), F_OK), 0);
}

// Tokens of a text, each call from where the last one stopped.
TEST(zbFileElementExtension, Strtok)
{
    // Text, delimiters, keep the rest, empty tokens, first position, tokens
    // joined by '|'.
    const std::tuple<const char*, const char*, int, int, int, const char*> cases[] = {
        {"a,,b", ",", 0, 0, 0, "a|b"}, {"a,,b", ",", 0, 1, 0, "a||b"},
        {",a", ",", 0, 0, 0, "a"},     {"ab,cd", ",", 1, 0, 0, "ab,cd|cd"},
        {"", ",", 0, 1, 0, ""},        {",,", ",", 0, 0, 0, ""},
        {"x", ",", 0, 1, -1, ""}};
    for (const auto& [given, delimiters, keep, empty, start, expected] : cases)
    {
        std::string text(given), tokens;
        int position = start, n = 0;
        while (char* token =
                   n < 10 ? zbFileElementExtension::Strtok(&text[0], static_cast<int>(text.size()),
                                                           delimiters, position, keep, empty)
                          : nullptr)
            tokens += (n++ ? "|" : "") + std::string(token);
        EXPECT_EQ(expected, tokens) << given;
    }
}
