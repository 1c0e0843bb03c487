// Macro values: normalisation, references and modifiers, words.

#include "zbMacroSet.h"
#include "zbMacroValue.h"
#include "zbOFStream.h"
#include "zbTestConversions.h"
#include "zbTestSupport.h"

namespace
{
QORString Q(const std::string& iText)
{
    return QORString(iText.c_str());
}

std::string Words(const char* iText, std::string* oErr)
{
    zbMacroValue value;
    value = QORString(iText);
    zbtest::Capture err(2);
    QORListValQORString list;
    value.GetListOfValues(list);
    *oErr = err.Stop();
    std::string out;
    for (const QORString& w : list)
        out += "<" + w.Std() + ">";
    return out;
}
} // namespace

TEST(zbMacroValue, NormalisationAssignmentsAndCachedWords)
{
    const std::pair<const char*, const char*> normalised[] = {
        {"  'a b'  ", "a b"}, {"'", "'"}, {" \"x\"\t", "\"x\""}, {"'a", "'a"}, {"''", ""}};
    for (const auto& [text, value] : normalised)
    {
        zbMacroValue v(text);
        EXPECT_EQ(value, v.GetValue().Std()) << text;
        EXPECT_EQ(0, v.IsSolved()) << text;
    }
    zbMacroValue blank(" \t ");
    EXPECT_EQ(1, blank.IsSolved());
    EXPECT_EQ(1, blank.GetValue().IsNull());
    EXPECT_EQ(1, zbMacroValue(static_cast<const char*>(nullptr)).IsSolved());
    zbMacroValue partial;
    partial._Init("  x  yz", 5);
    EXPECT_EQ("x", partial.GetValue().Std());

    // Assignment of a QORString keeps the text as it is, and a text without
    // '$' resolves to itself.
    zbMacroValue raw;
    raw = QORString(" 'a' ");
    EXPECT_EQ(0, raw.IsSolved());
    zbMacroSet set(3);
    EXPECT_EQ(" 'a' ", raw.Solve(set, nullptr).Std());
    raw = raw.GetValue().CastToCharPtr(); // normalising its own text
    EXPECT_EQ("a", raw.GetValue().Std());

    zbMacroValue a("x y");
    QORListValQORString* words = a.GetListOfValues();
    ASSERT_EQ(2, words->Size());
    EXPECT_EQ(words, a.GetListOfValues());
    a = "p q r";
    EXPECT_EQ(3, a.GetListOfValues()->Size());
    zbMacroValue b("p q r"), c("other");
    b.Solve(set, nullptr);
    a = b; // same text: nothing changes, a stays unsolved
    EXPECT_EQ(0, a.IsSolved());
    c.Solve(set, nullptr);
    a = c;
    EXPECT_EQ("other", a.GetValue().Std());
    EXPECT_EQ(1, a.IsSolved());
    EXPECT_EQ(1, a.GetListOfValues()->Size());
    EXPECT_TRUE(a == c && a != b);
    zbMacroValue copy(b);
    EXPECT_EQ(1, copy.IsSolved());
    copy.Reset();
    EXPECT_EQ(1, copy.GetValue().IsNull());
    zbMacroValue path("a/b/c");
    path.DosifyPath();
    EXPECT_EQ("a\\b\\c", path.GetValue().Std());
}

// A text resolved against macros "NAME = value" (';' between them): its value
// and what is printed on stderr.
TEST(zbMacroValue, ReferencesModifiersAndImbalance)
{
    const char* const empty = "A = ''";
    const char* const full = "A = v";
    const struct
    {
        const char *_Text, *_Defs, *_Value, *_Err;
    } rows[] = {
        {"$(A) $(A)", "A = x", "x x", ""},
        // An empty reference takes the blank before it along.
        {"$(A) $(A)", "", "", ""},
        {"x $(U) y", "", "x y", ""},
        {"$(U) y", "", "y", ""},
        {"a-$(A)-b", "A = x", "a-x-b", ""},
        {"$(A", "A = x", "$(A", ""},
        {"$(C)", "A = 1;B = $(A) 2;C = $(B) 3", "1 2 3", ""},
        {"$(A)", "A = $(A)", "", ""},
        // '-': the word when empty (or undefined), else the value; '%' drops
        // the value.  (:- and @ on an undefined macro, :+ on a defined one:
        // see zbsvc macros.)
        {"$(A:-'d e')", empty, "d e", ""},
        {"$(A:-'d e')", full, "v", ""},
        {"$(A:%-'d')", empty, "d", ""},
        {"$(A:%-'d')", full, "", ""},
        // '+': the word only when not empty.
        {"$(A:+'yes')", empty, "", ""},
        {"$(A:+'yes')", "", "", ""},
        // '@': the word only when undefined; an empty macro is defined.
        {"$(A:@'no')", empty, "", ""},
        {"$(A:@'no')", full, "v", ""},
        {"$(A:%@'no')", full, "", ""},
        // '?': the word only when defined.
        {"$(A:?\"def\")", empty, "def", ""},
        {"$(A:?\"def\")", "", "", ""},
        // Any other rule keeps the value, the strict form drops it.
        {"$(A:=x)", full, "v", ""},
        {"$(A:%=x)", full, "", ""},
        {"$(A:)", full, "v", ""},
        // An unquoted word is a name, resolved in turn; an empty word is nothing.
        {"$(A:-B)", "A = '';B = $(C)1;C = b", "b1", ""},
        {"$(A:-B)", empty, "", ""},
        {"x $(A:-)", empty, "x", ""},
        // A quoted word may hold ')' and blanks; the text after it follows.
        {"[$(A:-'a) b')]", empty, "[a) b]", ""},
        {"$(A) x $(B y", "A = 1", "1 x ", "# Error: Unbalanced $() in [ x $(B y]\n"},
        // Unterminated quoted word: nothing from the reference.
        {"a $(U:-'d) b", "", "a b", "# Error: Unbalanced ' in ['d]\n"},
        // The literal runs past the first ')'; the reference ends at the first
        // ')' after the closing quote.  Without one, the literal is still used
        // and the text goes on after the first ')'.
        {"$(U:-'d) x') x'", "", "d) x x'", ""},
        {"$(U:-'q)r')z", "", "q)rz", ""},
        {"$(U:-'q)r' z", "", "q)rr' z", "# Error: Unbalanced $() in [$(U:-'q)r' z]\n"},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row._Text);
        zbMacroSet set(17);
        std::istringstream defs(row._Defs);
        for (std::string def; std::getline(defs, def, ';');)
            set.Insert(&def[0], '=', zbMacroSet::ReplaceExisting);
        zbMacroValue value(row._Text);
        zbtest::Capture err(2);
        EXPECT_EQ(row._Value, std::string(value.Solve(set, nullptr).CastToCharPtr()));
        EXPECT_EQ(row._Err, err.Stop());
        EXPECT_EQ(1, value.IsSolved());
    }
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
    EXPECT_EQ("c!", other.GetValue("B")->Std()); // resolved in place
    // A macro of the set hides the environment.
    set.Insert("ZBTEST_ENV_VALUE", "mine", zbMacroSet::ReplaceExisting);
    zbMacroValue hidden("$(ZBTEST_ENV_VALUE)");
    EXPECT_EQ("mine", hidden.Solve(set, &other).Std());
}

TEST(zbMacroValue, SelfAndMutualReferences)
{
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
    // process stack; then a cycle as long ends with empty values.
    const int depth = 200000;
    zbMacroSet set(500);
    for (int i = 0; i < depth; ++i)
        set.Insert(Q("M" + std::to_string(i)), ("$(M" + std::to_string(i + 1) + ")").c_str(),
                   zbMacroSet::ReplaceExisting);
    set.Insert("M200000", "end", zbMacroSet::ReplaceExisting);
    EXPECT_EQ("end", set.Solve("M0", nullptr)->Std());
    EXPECT_EQ("end", set.GetValue("M123456")->Std());
    for (int i = 0; i <= depth; i += 1)
        *set.GetMacro(Q("M" + std::to_string(i))) =
            Q("$(M" + std::to_string((i + 1) % (depth + 1)) + ")");
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
        set.Insert(Q("L" + std::to_string(i)), (below + below).c_str(),
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

TEST(zbMacroValue, WordsAndDump)
{
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"a 'b c' \"\" d", "<a><b c><><d>", ""},
        {"\t x \t y  ", "<x><y>", ""},
        {"\"a b\"c", "<a b><c>", ""},
        {"it's", "<it's>", ""},
        {"", "", ""},
        {"a b 'c d", "<a><b>", "# Error: Unbalanced ' in [a b 'c d]\n"},
    };
    for (const auto& [text, words, error] : rows)
    {
        std::string err;
        EXPECT_EQ(words, Words(text, &err)) << text;
        EXPECT_EQ(error, err) << text;
    }
    EXPECT_EQ("# -    Data object length: 3\n# -    Data object value: [a b]\n"
              "# -    Data object length: 0\n# -    Data object value: []\n",
              zbtest::Written(
                  [](zbOFStream& out)
                  {
                      zbMacroValue("a b").Dump(out);
                      zbMacroValue().Dump(out);
                  }));
}
