// zbGetZbzbConcatenation and the callbacks of the QORString hash table.

#include "zbGetZbzbConcatenation.h"
#include "zbTestSupport.h"
#include "zbQORStringHash.h"

namespace
{
std::vector<std::string> Items(const QORListValQORString& iList)
{
    std::vector<std::string> items;
    for (const QORString& item : iList)
        items.push_back(item.Std());
    return items;
}
} // namespace

// Entries already there, no directory (the path-list corpus checks the rest).
TEST(zbGetZbzbConcatenation, BuildtimeEntriesThenRuntimeEntries)
{
    // The test environment: runtime "code", build time "linux_b64".
    QORListValQORString list, none;
    list.Append(QORString("/old"));
    zbGetZbzbConcatenation(list, "/r1::/r2", nullptr, "/o1");
    EXPECT_EQ((std::vector<std::string>{"/old/./code/linux_b64", "/o1/./code/linux_b64",
                                        "/r1/./code/linux_b64", "/r2/./code/linux_b64",
                                        "/old/./code", "/o1/./code", "/r1/./code", "/r2/./code"}),
              Items(list));
    zbGetZbzbConcatenation(none, nullptr, "x", nullptr);
    EXPECT_EQ(0, none.Size());
}

// The table itself is the foundation's, tested with it.
TEST(QORHashTabQORString, Callbacks)
{
    QORString a("a"), a2("a"), b("b");
    EXPECT_TRUE(zbQORStringHkey(nullptr) == 0u && zbQORStringHkey(&a) == a.ComputeHashKey());
    EXPECT_EQ((std::vector<int>{zbQORStringCompare(nullptr, nullptr),
                                zbQORStringCompare(nullptr, &a), zbQORStringCompare(&a, nullptr),
                                zbQORStringCompare(&a, &a2), zbQORStringCompare(&a, &b) < 0}),
              (std::vector<int>{0, -1, 1, 0, 1}));
}
