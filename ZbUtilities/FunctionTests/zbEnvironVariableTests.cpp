// zbEnvironVariable: reading, editing and exporting a variable.

#include "zbEnvironVariable.h"
#include "zbTestSupport.h"

TEST(zbEnvironVariable, ValuesAndComparison)
{
    zbEnvironVariable unset("ZB_TEST_UNSET_VARIABLE");
    EXPECT_STREQ("ZB_TEST_UNSET_VARIABLE", unset.Name());
    EXPECT_EQ(nullptr, unset.Value());
    EXPECT_EQ(nullptr, unset.GetEnvironmentValue());

    zbEnvironVariable path("P", "b");
    EXPECT_STREQ("a:b", path.InsertValues("a", ":"));
    EXPECT_STREQ("a:b:c", path.AppendValues("c", ":"));
    EXPECT_STREQ("a:b:c;", path.AppendValues(nullptr, ";"));

    zbEnvironVariable empty("E");
    EXPECT_STREQ(":", empty.AppendValues(nullptr, ":")); // the separator even on nothing
    // Variables compare and assign by value; the name stays.
    zbEnvironVariable other("O", "x");
    EXPECT_FALSE(empty == other);
    EXPECT_STREQ("x", empty = other);
    EXPECT_STREQ("E", empty.Name());
    EXPECT_TRUE(empty == other && unset == zbEnvironVariable("Q") && unset != other);
}

TEST(zbEnvironVariable, PutGrowsItsBufferAndExports)
{
    zbEnvironVariable variable("ZB_TEST_PUT", "short");
    EXPECT_STREQ("short", variable.PutEnvironmentValue());
    EXPECT_STREQ("short", std::getenv("ZB_TEST_PUT"));
    variable = "a much longer value than before";
    variable.PutEnvironmentValue();
    EXPECT_STREQ("a much longer value than before", std::getenv("ZB_TEST_PUT"));
    variable = "";
    variable.PutEnvironmentValue();
    EXPECT_STREQ("", std::getenv("ZB_TEST_PUT"));
    zbEnvironVariable reader("ZB_TEST_PUT");
    EXPECT_STREQ("", reader.GetEnvironmentValue());
    ::unsetenv("ZB_TEST_PUT");
}
