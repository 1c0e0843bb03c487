// zbsvc lsdiff [-text] [-prefix P] [-q] OLD NEW: the files added, removed
// and changed between two listings, sorted by path, then a summary line.
// A file changed when its size or time differs (with -text: its first
// field).  With -q nothing is printed and the status is 1 when the listings
// differ.

#include <charconv>
#include <cstring>
#include <string>

#include "zbLsoutDiff.h"
#include "zbsvcVerbs.h"

namespace
{
using Line = zbLsoutElement::Line;

// The findings as lines of text, gathered in a block written out when
// full.
class Printer : public zbLsoutDiff::Sink
{
  public:
    Printer(const std::string& iPrefix, int iTextMode) : _Prefix(iPrefix), _TextMode(iTextMode) {}
    void Finding(const Line* iOld, const Line* iNew) override
    {
        const Line& any = iNew ? *iNew : *iOld;
        // The longest the line can be: kind, prefix, path, two fields.
        const size_t longest = 8 + _Prefix.size() + any._PathLength + 2 * 48 +
                               (iOld ? iOld->_FieldLength : 0) + (iNew ? iNew->_FieldLength : 0);
        if (_Used + longest > _Block.size())
            Flush();
        if (longest > _Block.size())
            _Block.resize(longest);
        char* at = &_Block[_Used];
        char* const start = at;
        at = Put(at, !iOld ? "added   " : !iNew ? "removed " : "changed ", 8);
        at = Put(at, _Prefix.data(), _Prefix.size());
        at = Put(at, any._Path, any._PathLength);
        if (iOld && iNew)
            at = Field(Field(at, *iOld), *iNew);
        *at++ = '\n';
        _Used += static_cast<size_t>(at - start);
    }
    void Flush()
    {
        zbsvcWrite(_Block.data(), _Used);
        _Used = 0;
    }

  private:
    static char* Put(char* iAt, const char* iText, size_t iLength)
    {
        std::memcpy(iAt, iText, iLength);
        return iAt + iLength;
    }
    // A blank and the first field of a line as its listing gave it (in
    // size mode, its two numbers).
    char* Field(char* iAt, const Line& iLine) const
    {
        *iAt++ = ' ';
        if (_TextMode)
            return Put(iAt, iLine._Field, iLine._FieldLength);
        iAt = std::to_chars(iAt, iAt + 24, iLine._Size).ptr;
        *iAt++ = '@';
        return std::to_chars(iAt, iAt + 24, iLine._Time).ptr;
    }
    const std::string& _Prefix;
    const int _TextMode;
    std::string _Block = std::string(1 << 18, 0);
    size_t _Used = 0;
};
} // namespace

int zbsvcLsdiff(int argc, char** argv)
{
    zbsvcOptions options("zbsvc lsdiff");
    options.DeclareSwitch("text", "the first field is any text, compared as it stands");
    options.DeclareValue("prefix", "P", "put P/ before every path of both listings");
    options.DeclareSwitch("q", "print nothing; status 1 when the listings differ");
    int status = zbsvcAnalyze(options, argc, argv, 2, 2);
    if (status >= 0)
        return status;
    const int textMode = options.GetSwitchStatus("text") ? 1 : 0;
    const bool quiet = options.GetSwitchStatus("q") != 0;
    QORString* prefixValue = options.GetSwitchValue("prefix");
    const std::string prefix = prefixValue ? prefixValue->Std() + "/" : std::string();
    int index = 1;
    const char* oldPath = *options.GetLineValue(index);
    index = 2;
    const char* newPath = *options.GetLineValue(index);

    // The prefix is the same for every path: it changes neither identity
    // nor order.
    Printer printer(prefix, textMode);
    zbLsoutDiff::Counts counts;
    if (zbLsoutDiff::Compare(oldPath, newPath, textMode, quiet ? nullptr : &printer, counts))
        return 1;
    if (quiet)
        return counts._Added || counts._Removed || counts._Changed ? 1 : 0;
    printer.Flush();
    zbsvcPrint("%lld added, %lld removed, %lld changed, %lld unchanged\n", counts._Added,
               counts._Removed, counts._Changed, counts._Unchanged);
    return 0;
}
