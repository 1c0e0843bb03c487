// The action factory and command lines.

#include "zbActionFactory.h"
#include "zbActionIntf.h"
#include "zbActionLine.h"
#include "zbOFStream.h"
#include "zbTestActions.h"
#include "zbTestSupport.h"

TEST(zbActionFactory, CreatesByClassName)
{
    const std::pair<const char*, bool> rows[] = {
        {"zbTestInlineAction", true}, {"zbShellAction", true},
        {"NoSuchClass", false},       {"zbBaseUnknown", false}, // a class, but not an action
        {"zbActionIntf", false},                                // an interface has no instances
    };
    for (const auto& [name, created] : rows)
    {
        zbtest::Capture err(2);
        zbActionIntf* action = zbActionFactory(name);
        std::string printed = err.Stop();
        EXPECT_EQ(action != nullptr, created) << name;
        if (action)
        {
            EXPECT_STREQ(action->IsA(), name);
            EXPECT_EQ(printed, "");
            action->Release();
        }
        else
            EXPECT_EQ(printed,
                      std::string("# Error: No action implementation named ") + name + "\n");
    }
}

TEST(zbActionLine, StaticAndDynamicParts)
{
    zbActionLine line;
    line.SetStaticPart("cc");
    line.AddToDynamicPart("a b", " ", 1);
    EXPECT_STREQ(line, "cc \"a b\"");
    EXPECT_EQ(line.GetStaticPart(), "cc");
    line.ResetDynamicPart();
    EXPECT_STREQ(line, "cc");

    QORListValQORString flags;
    flags.Append("-O2");
    flags.Append("-g");
    line.AddToStaticPart(flags, " ", 0);
    line.AddToStaticPart(QORString("-o %OUT%"), " ", 0);
    line.AddToDynamicPart(flags, ",", 1);
    EXPECT_STREQ(line, "cc -O2 -g -o %OUT%,\"-O2\",\"-g\"");
    // The static part changes alone; the whole command follows at the next
    // static change or reset.
    EXPECT_EQ(line.ReplaceIntoStaticPart("OUT", "x.o"), 13);
    EXPECT_EQ(line.GetStaticPart(), "cc -O2 -g -o x.o");
    EXPECT_STREQ(line, "cc -O2 -g -o %OUT%,\"-O2\",\"-g\"");
    EXPECT_EQ(line.ReplaceIntoStaticPart("OUT", "y.o"), -1);
    EXPECT_EQ(line.ReplaceIntoStaticPart(nullptr, "y.o"), -1);
    EXPECT_EQ(line.ReplaceIntoDynamicPart("OUT", "z.o"), 13);
    EXPECT_EQ(line.ReplaceIntoDynamicPart(nullptr, "z.o"), -1);
    line.AddToStaticPart(static_cast<const char*>(nullptr), nullptr, 1);
    zbtest::Capture out(1);
    line.Dump(zbStdout);
    EXPECT_EQ(out.Stop(), "#  Static  command part: [cc -O2 -g -o x.o\"\"]\n"
                          "#  Whole   command     : [cc -O2 -g -o x.o\"\"]\n");
}
