// zbEnvironVariable: reading, editing and exporting a variable.

#include "zbEnvironVariable.h"
#include "zbTestSupport.h"

TEST(zbEnvironVariable, ValuesAndComparison)
{
    zbEnvironVariable unset("ZB_TEST_UNSET_VARIABLE");
    EXPECT_STREQ("ZB_TEST_UNSET_VARIABLE", unset.Name());
    EXPECT_TRUE(unset.Value() == nullptr && unset.GetEnvironmentValue() == nullptr);

    zbEnvironVariable path("P", "b"), empty("E"), other("O", "x");
    EXPECT_STREQ("a:b", path.InsertValues("a", ":"));
    EXPECT_STREQ("a:b:c", path.AppendValues("c", ":"));
    EXPECT_STREQ("a:b:c;", path.AppendValues(nullptr, ";"));
    EXPECT_STREQ(":", empty.AppendValues(nullptr, ":")); // the separator even on nothing
    // Variables compare and assign by value; the name stays.
    EXPECT_FALSE(empty == other);
    EXPECT_STREQ("x", empty = other);
    EXPECT_STREQ("E", empty.Name());
    EXPECT_TRUE(empty == other && unset == zbEnvironVariable("Q") && unset != other);
}

TEST(zbEnvironVariable, PutGrowsItsBufferAndExports)
{
    zbEnvironVariable variable("ZB_TEST_PUT", "short");
    EXPECT_STREQ("short", variable.PutEnvironmentValue());
    for (const char* value : {"short", "a much longer value than before", ""})
    {
        variable = value;
        variable.PutEnvironmentValue();
        EXPECT_STREQ(value, std::getenv("ZB_TEST_PUT"));
    }
    EXPECT_STREQ("", zbEnvironVariable("ZB_TEST_PUT").GetEnvironmentValue());
    ::unsetenv("ZB_TEST_PUT");
}
