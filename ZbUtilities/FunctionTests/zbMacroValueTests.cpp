// Macro values: normalisation, references and modifiers, words.

#include "zbMacroSet.h"
#include "zbMacroValue.h"
#include "zbOFStream.h"
#include "zbTestConversions.h"
#include "zbTestSupport.h"

namespace
{
// Resolves iText against the macros "NAME=value" of iDefs (inserted as
// given, normalised) and returns the result and what was printed on stderr.
std::string Resolve(const std::string& iText, std::initializer_list<const char*> iDefs = {},
                    std::string* oErr = nullptr)
{
    zbMacroSet set(17);
    for (const char* def : iDefs)
    {
        std::string line(def);
        set.Insert(&line[0], '=', zbMacroSet::ReplaceExisting);
    }
    zbMacroValue value(iText.c_str());
    zbtest::Capture err(2);
    std::string result = value.Solve(set, nullptr).CastToCharPtr();
    std::string printed = err.Stop();
    if (oErr)
        *oErr = printed;
    else
        EXPECT_EQ("", printed);
    EXPECT_EQ(1, value.IsSolved());
    return result;
}

std::string Words(const char* iText, std::string* oErr = nullptr)
{
    zbMacroValue value;
    value = QORString(iText);
    zbtest::Capture err(2);
    QORListValQORString list;
    value.GetListOfValues(list);
    std::string printed = err.Stop();
    if (oErr)
        *oErr = printed;
    std::string out;
    for (const QORString& w : list)
        out += "<" + w.Std() + ">";
    return out;
}
} // namespace

TEST(zbMacroValue, Normalisation)
{
    zbMacroValue quoted("  'a b'  ");
    EXPECT_EQ("a b", quoted.GetValue().Std());
    EXPECT_EQ(0, quoted.IsSolved());
    EXPECT_EQ("'", zbMacroValue("'").GetValue().Std());
    EXPECT_EQ("\"x\"", zbMacroValue(" \"x\"\t").GetValue().Std());
    EXPECT_EQ("'a", zbMacroValue("'a").GetValue().Std());
    EXPECT_EQ("", zbMacroValue("''").GetValue().Std());

    zbMacroValue blank(" \t ");
    EXPECT_EQ(1, blank.IsSolved());
    EXPECT_EQ(1, blank.GetValue().IsNull());
    EXPECT_EQ(1, zbMacroValue(static_cast<const char*>(nullptr)).IsSolved());

    zbMacroValue partial;
    partial._Init("  x  yz", 5);
    EXPECT_EQ("x", partial.GetValue().Std());

    // Assignment of a QORString keeps the text as it is.
    zbMacroValue raw;
    raw = QORString(" 'a' ");
    EXPECT_EQ(" 'a' ", raw.GetValue().Std());
    EXPECT_EQ(0, raw.IsSolved());
    raw = raw.GetValue().CastToCharPtr(); // normalising its own text
    EXPECT_EQ("a", raw.GetValue().Std());
}

TEST(zbMacroValue, AssignmentsAndCachedWords)
{
    zbMacroValue a("x y");
    QORListValQORString* words = a.GetListOfValues();
    ASSERT_EQ(2, words->Size());
    EXPECT_EQ(words, a.GetListOfValues());

    a = "p q r";
    EXPECT_EQ(3, a.GetListOfValues()->Size());

    zbMacroValue b("p q r");
    zbMacroSet set(3);
    b.Solve(set, nullptr);
    a = b; // same text: nothing changes, a stays unsolved
    EXPECT_EQ(0, a.IsSolved());
    zbMacroValue c("other");
    c.Solve(set, nullptr);
    a = c;
    EXPECT_EQ("other", a.GetValue().Std());
    EXPECT_EQ(1, a.IsSolved());
    EXPECT_EQ(1, a.GetListOfValues()->Size());
    EXPECT_TRUE(a == c);
    EXPECT_TRUE(a != b);

    zbMacroValue copy(b);
    EXPECT_EQ(1, copy.IsSolved());
    copy.Reset();
    EXPECT_EQ(1, copy.GetValue().IsNull());

    zbMacroValue path("a/b/c");
    path.DosifyPath();
    EXPECT_EQ("a\\b\\c", path.GetValue().Std());
}

TEST(zbMacroValue, SubstitutionAndBlanks)
{
    EXPECT_EQ("x x", Resolve("$(A) $(A)", {"A = x"}));
    // An empty reference takes the blank before it along.
    EXPECT_EQ("", Resolve("$(A) $(A)"));
    EXPECT_EQ("x y", Resolve("x $(U) y"));
    EXPECT_EQ("y", Resolve("$(U) y"));
    EXPECT_EQ("a-x-b", Resolve("a-$(A)-b", {"A = x"}));
    // Short texts and texts without '$' are left as they are.
    EXPECT_EQ("$(A", Resolve("$(A", {"A = x"}));
    EXPECT_EQ(" a  b ",
              []
              {
                  zbMacroValue v;
                  v = QORString(" a  b ");
                  zbMacroSet set(3);
                  return std::string(v.Solve(set, nullptr).CastToCharPtr());
              }());
    // A reference to a macro that is itself a chain.
    EXPECT_EQ("1 2 3", Resolve("$(C)", {"A = 1", "B = $(A) 2", "C = $(B) 3"}));
}

TEST(zbMacroValue, SecondSetAndEnvironment)
{
    zbMacroSet set(7), other(7);
    set.Insert("A", "$(B)+", zbMacroSet::ReplaceExisting);
    other.Insert("B", "$(C)!", zbMacroSet::ReplaceExisting);
    other.Insert("C", "c", zbMacroSet::ReplaceExisting);
    zbtest::ScopedEnv value1("ZBTEST_ENV_VALUE", " e v "), unset("ZBTEST_UNSET_VALUE", nullptr);
    zbMacroValue value("$(A) $(ZBTEST_ENV_VALUE) $(ZBTEST_UNSET_VALUE)");
    EXPECT_EQ("c!+  e v ", value.Solve(set, &other).Std());
    // The macro of the second set was resolved in place.
    EXPECT_EQ("c!", other.GetValue("B")->Std());
    // A macro of the set hides the environment.
    set.Insert("ZBTEST_ENV_VALUE", "mine", zbMacroSet::ReplaceExisting);
    zbMacroValue hidden("$(ZBTEST_ENV_VALUE)");
    EXPECT_EQ("mine", hidden.Solve(set, &other).Std());
}

TEST(zbMacroValue, Modifiers)
{
    const char* empty = "A = ''";
    const char* full = "A = v";
    // (:- and @ on an undefined macro, :+ on a defined one: see zbsvc macros.)
    // '-': the word when empty (or undefined), else the value.
    EXPECT_EQ("d e", Resolve("$(A:-'d e')", {empty}));
    EXPECT_EQ("v", Resolve("$(A:-'d e')", {full}));
    EXPECT_EQ("d", Resolve("$(A:%-'d')", {empty}));
    EXPECT_EQ("", Resolve("$(A:%-'d')", {full}));
    // '+': the word only when not empty.
    EXPECT_EQ("", Resolve("$(A:+'yes')", {empty}));
    EXPECT_EQ("", Resolve("$(A:+'yes')"));
    // '@': the word only when undefined; an empty macro is defined.
    EXPECT_EQ("", Resolve("$(A:@'no')", {empty}));
    EXPECT_EQ("v", Resolve("$(A:@'no')", {full}));
    EXPECT_EQ("", Resolve("$(A:%@'no')", {full}));
    // '?': the word only when defined.
    EXPECT_EQ("def", Resolve("$(A:?\"def\")", {empty}));
    EXPECT_EQ("", Resolve("$(A:?\"def\")"));
    // Any other rule keeps the value, the strict form drops it.
    EXPECT_EQ("v", Resolve("$(A:=x)", {full}));
    EXPECT_EQ("", Resolve("$(A:%=x)", {full}));
    EXPECT_EQ("v", Resolve("$(A:)", {full}));
    // An unquoted word is a name, resolved in turn.
    EXPECT_EQ("b1", Resolve("$(A:-B)", {empty, "B = $(C)1", "C = b"}));
    EXPECT_EQ("", Resolve("$(A:-B)", {empty}));
    // An empty word gives nothing.
    EXPECT_EQ("x", Resolve("x $(A:-)", {empty}));
    // A quoted word may hold ')' and blanks; the text after the reference follows.
    EXPECT_EQ("[a) b]", Resolve("[$(A:-'a) b')]", {empty}));
}

TEST(zbMacroValue, Imbalance)
{
    std::string err;
    EXPECT_EQ("1 x ", Resolve("$(A) x $(B y", {"A = 1"}, &err));
    EXPECT_EQ("# Error: Unbalanced $() in [ x $(B y]\n", err);
    // Unterminated quoted word: nothing from the reference.
    EXPECT_EQ("a b", Resolve("a $(U:-'d) b", {}, &err));
    EXPECT_EQ("# Error: Unbalanced ' in ['d]\n", err);
    // The literal runs past the first ')'; the reference ends at the first
    // ')' after the closing quote.  Without one, the literal is still used
    // and the text goes on after the first ')'.
    EXPECT_EQ("d) x x'", Resolve("$(U:-'d) x') x'", {}, &err));
    EXPECT_EQ("", err);
    std::string text = Resolve("$(U:-'q)r')z", {}, &err);
    EXPECT_EQ("q)rz", text);
    EXPECT_EQ("", err);
    text = Resolve("$(U:-'q)r' z", {}, &err);
    EXPECT_EQ("q)rr' z", text);
    EXPECT_EQ("# Error: Unbalanced $() in [$(U:-'q)r' z]\n", err);
}

TEST(zbMacroValue, SelfAndMutualReferences)
{
    EXPECT_EQ("", Resolve("$(A)", {"A = $(A)"}));
    zbMacroSet set(11);
    set.Insert("A", "$(A)", zbMacroSet::ReplaceExisting);
    set.Insert("B", "a $(B) b", zbMacroSet::ReplaceExisting);
    set.Insert("C", "$(D) c", zbMacroSet::ReplaceExisting);
    set.Insert("D", "$(C) d", zbMacroSet::ReplaceExisting);
    EXPECT_EQ(1, set.Solve("A", nullptr)->IsNull());
    EXPECT_EQ("a b", set.Solve("B", nullptr)->Std());
    // C is resolved first: D sees C's value built so far (empty).
    EXPECT_EQ("d c", set.Solve("C", nullptr)->Std());
    EXPECT_EQ("d", set.GetValue("D")->Std());
    EXPECT_EQ(nullptr, set.Solve("nope", nullptr));
}

TEST(zbMacroValue, DeepChainDoesNotRecurse)
{
    // 200000 macros each naming the next one: resolved without growing the
    // process stack.
    const int depth = 200000;
    zbMacroSet set(500);
    for (int i = 0; i < depth; ++i)
    {
        std::string value = "$(M" + std::to_string(i + 1) + ")";
        set.Insert(QORString(("M" + std::to_string(i)).c_str()), value.c_str(),
                   zbMacroSet::ReplaceExisting);
    }
    set.Insert("M200000", "end", zbMacroSet::ReplaceExisting);
    EXPECT_EQ("end", set.Solve("M0", nullptr)->Std());
    EXPECT_EQ("end", set.GetValue("M123456")->Std());
    // And a long cycle ends with empty values.
    set.Insert("M200000", "$(M0)", zbMacroSet::ReplaceExisting);
    for (int i = 0; i <= depth; i += 1)
        *set.GetMacro(QORString(("M" + std::to_string(i)).c_str())) =
            QORString(("$(M" + std::to_string((i + 1) % (depth + 1)) + ")").c_str());
    EXPECT_EQ(0, set.Solve(nullptr));
    EXPECT_EQ(1, set.GetValue("M777")->IsNull());
}

TEST(zbMacroValue, ExponentialGrowthIsCut)
{
    // Each level doubles the one below: 2^40 bytes at the top.
    zbMacroSet set(50);
    set.Insert("L0", "xxxxxxx", zbMacroSet::ReplaceExisting);
    for (int i = 1; i <= 40; ++i)
    {
        std::string below = "$(L" + std::to_string(i - 1) + ")";
        set.Insert(QORString(("L" + std::to_string(i)).c_str()), (below + below).c_str(),
                   zbMacroSet::ReplaceExisting);
    }
    zbtest::Capture err(2);
    const QORString* top = set.Solve("L40", nullptr);
    std::string printed = err.Stop();
    ASSERT_NE(nullptr, top);
    EXPECT_EQ(7 << 21, set.GetValue("L21")->Length());
    EXPECT_EQ(std::string::npos, set.GetValue("L21")->Std().find_first_not_of('x'));
    // L22 would be twice as long: it keeps its first half only.
    EXPECT_TRUE(set.GetValue("L21")->Std() == set.GetValue("L22")->Std());
    EXPECT_EQ("# Error: Value cut: resolving [$(L21)$(L21)] gives more than 16777216 bytes\n",
              printed.substr(0, printed.find('\n') + 1));
    EXPECT_LE(static_cast<size_t>(top->Length()), zbMacroValue::MaxSolvedLength);
}

TEST(zbMacroValue, Words)
{
    EXPECT_EQ("<a><b c><><d>", Words("a 'b c' \"\" d"));
    EXPECT_EQ("<x><y>", Words("\t x \t y  "));
    EXPECT_EQ("<a b><c>", Words("\"a b\"c"));
    EXPECT_EQ("<it's>", Words("it's"));
    EXPECT_EQ("", Words(""));
    std::string err;
    EXPECT_EQ("<a><b>", Words("a b 'c d", &err));
    EXPECT_EQ("# Error: Unbalanced ' in [a b 'c d]\n", err);
}

TEST(zbMacroValue, Dump)
{
    EXPECT_EQ("# -    Data object length: 3\n"
              "# -    Data object value: [a b]\n"
              "# -    Data object length: 0\n"
              "# -    Data object value: []\n",
              zbtest::Written(
                  [](zbOFStream& out)
                  {
                      zbMacroValue("a b").Dump(out);
                      zbMacroValue().Dump(out);
                  }));
}
