#include "zbMacroValue.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "QORFatalError.h"
#include "zbContext.h"
#include "zbMacroSet.h"
#include "zbOFStream.h"
#include "zbReport.h"

// Prints "imbalance_r" with its three parameters as an error.
static void zbReportImbalance(const char* iFile, const QORString& iText, const char* iWhat)
{
    zbReportMessage("imbalance_r",
                    {QORUnicodeString(iFile), QORUnicodeString(iText), QORUnicodeString(iWhat)});
}

static inline bool zbIsBlank(char iChar)
{
    return iChar == ' ' || iChar == '\t';
}

// A value needs resolution only when it may hold a reference.
static inline bool zbMayHoldReference(const char* iText, size_t iLength)
{
    return iLength >= 4 && std::memchr(iText, '$', iLength);
}

zbMacroValue::zbMacroValue() : _Length(0), _Solved(1), _HasOwn(false), _Ptr{nullptr}
{
}

zbMacroValue::zbMacroValue(const zbMacroValue& iOther)
    : _Length(0), _Solved(iOther._Solved), _HasOwn(false), _Ptr{nullptr}
{
    if (const char* text = iOther.GetText())
        SetOwnPtr(new OwnText(text, iOther.Length()));
}

zbMacroValue::zbMacroValue(const QORString& iText)
    : _Length(0), _Solved(1), _HasOwn(false), _Ptr{nullptr}
{
    _Init(iText.IsNull() ? nullptr : iText.CastToCharPtr(),
          static_cast<unsigned int>(iText.Length()));
}

zbMacroValue::zbMacroValue(const char* iText)
    : _Length(0), _Solved(1), _HasOwn(false), _Ptr{nullptr}
{
    _Init(iText, iText ? static_cast<unsigned int>(std::strlen(iText)) : 0);
}

zbMacroValue::~zbMacroValue()
{
    DropList();
    delete OwnPtr();
}

zbMacroValue::OwnText::~OwnText()
{
    delete _List;
}

void zbMacroValue::DropList()
{
    if (OwnText* own = OwnPtr())
    {
        delete own->_List;
        own->_List = nullptr;
    }
}

void zbMacroValue::SetView(const char* iText, size_t iLength)
{
    delete OwnPtr();
    SetViewPtr(iText);
    _Length = iText ? static_cast<unsigned int>(iLength) : 0;
}

zbMacroValue::OwnText& zbMacroValue::Own() const
{
    if (!_HasOwn)
    {
        const char* view = _Ptr._View;
        SetOwnPtr(view ? new OwnText(view, _Length) : new OwnText);
    }
    return *_Ptr._Own;
}

const QORString& zbMacroValue::GetValue() const
{
    return Own();
}

void zbMacroValue::_Init(const char* iText, unsigned int iLength)
{
    DropList();
    const char* begin = iText;
    const char* end = iText ? iText + iLength : nullptr;
    if (!iText || !iLength || !Normalise(begin, end))
    {
        SetView(nullptr, 0);
        _Solved = 1;
        return;
    }
    if (OwnText* own = OwnPtr())
        *own = QORString(begin, static_cast<size_t>(end - begin));
    else
        SetOwnPtr(new OwnText(begin, static_cast<size_t>(end - begin)));
    _Solved = 0;
}

zbMacroValue& zbMacroValue::operator=(const char* iText)
{
    const char* own = GetText();
    if (iText && own && iText >= own && iText <= own + Length())
    {
        // Our own text: normalise a copy.
        std::string copy(iText);
        _Init(copy.c_str(), static_cast<unsigned int>(copy.size()));
    }
    else
        _Init(iText, iText ? static_cast<unsigned int>(std::strlen(iText)) : 0);
    return *this;
}

zbMacroValue& zbMacroValue::operator=(const QORString& iText)
{
    DropList();
    if (&iText != OwnPtr())
    {
        QORString copy(iText);
        SetView(nullptr, 0);
        SetOwnPtr(new OwnText(std::move(copy)));
    }
    _Solved = 0;
    return *this;
}

zbMacroValue& zbMacroValue::operator=(const zbMacroValue& iOther)
{
    if (this != &iOther && *this != iOther)
    {
        DropList();
        const char* text = iOther.GetText();
        OwnText* copy = text ? new OwnText(text, iOther.Length()) : nullptr;
        SetView(nullptr, 0);
        SetOwnPtr(copy);
        _Solved = iOther._Solved;
    }
    return *this;
}

bool zbMacroValue::operator==(const zbMacroValue& iOther) const
{
    if (this == &iOther)
        return true;
    const size_t length = Length();
    return length == iOther.Length() &&
           (!length || std::memcmp(GetText(), iOther.GetText(), length) == 0);
}

void zbMacroValue::Reset()
{
    DropList();
    SetView(nullptr, 0);
    _Solved = 1;
}

void zbMacroValue::DosifyPath()
{
    DropList();
    const char* text = GetText();
    if (!text)
        return;
    std::string copy(text, Length());
    for (char& c : copy)
        if (c == '/')
            c = '\\';
    SetView(nullptr, 0);
    SetOwnPtr(new OwnText(copy));
}

void zbMacroValue::Dump(zbOFStream& oStream) const
{
    const char* text = GetText();
    oStream.Print("# -    Data object length: %d\n", static_cast<int>(Length()));
    oStream.Print("# -    Data object value: [%s]\n", text ? text : "");
}

// ---------------------------------------------------------------------------
// Resolution.
//
// References are resolved with an explicit stack of macros under resolution
// instead of recursion, so that a chain of references of any depth cannot
// exhaust the process stack.  When a reference names a macro that still
// needs resolution, that macro is pushed and the reference is read again
// once it is done.  A macro is marked solved when it is pushed: a reference
// back to a macro under resolution sees the value built so far.  Values are
// built in buffers of the solver, one per depth and kept from one macro to
// the next, and given to their macros once complete: one allocation per
// value however many pieces it is made of.

// A text being built: plain bytes growing by doubling, kept from one value
// to the next.
class zbMacroBuffer
{
  public:
    zbMacroBuffer() = default;
    zbMacroBuffer(zbMacroBuffer&& ioOther) noexcept
        : _Data(ioOther._Data), _Size(ioOther._Size), _Capacity(ioOther._Capacity)
    {
        ioOther._Data = nullptr;
        ioOther._Size = ioOther._Capacity = 0;
    }
    zbMacroBuffer(const zbMacroBuffer&) = delete;
    zbMacroBuffer& operator=(const zbMacroBuffer&) = delete;
    ~zbMacroBuffer() { std::free(_Data); }

    bool empty() const { return !_Size; }
    size_t size() const { return _Size; }
    const char* data() const { return _Data ? _Data : ""; }
    void clear() { _Size = 0; }
    void append(const char* iText, size_t iLength)
    {
        if (_Size + iLength > _Capacity)
            Grow(_Size + iLength);
        std::memcpy(_Data + _Size, iText, iLength);
        _Size += iLength;
    }

  private:
    void Grow(size_t iNeeded)
    {
        size_t capacity = _Capacity ? _Capacity * 2 : 256;
        while (capacity < iNeeded)
            capacity *= 2;
        char* data = static_cast<char*>(std::realloc(_Data, capacity));
        if (!data)
            QORFatalError("out of memory for a macro value",
                          "ZbUtilities/QORZbServices.m/src/zbMacroValue", __LINE__);
        _Data = data;
        _Capacity = capacity;
    }

    char* _Data = nullptr;
    size_t _Size = 0;
    size_t _Capacity = 0;
};

class zbMacroSolver
{
  public:
    zbMacroSolver(const zbMacroSet& iSet, const zbMacroSet* iOther, int& oFailures)
        : _Set(iSet), _Other(iOther), _Failures(oFailures)
    {
    }
    // iHome: the set whose storage takes the values resolved from the root,
    // null when the root's value keeps a string of its own.
    void Run(zbMacroValue& ioRoot, const zbMacroSet* iHome);

    // A first pass over a whole set may take the macros in any order as
    // long as the order cannot show: no reference back to a macro under
    // resolution other than itself (a cycle, whose values depend on where
    // it is entered), and no report (which would come out in another
    // order).  With Tentative set, the first such event stops the pass: the
    // macros under resolution get their texts back, those resolved stay
    // resolved (their values are the same in any order), and Stopped() is
    // true until the next SetTentative.
    void SetTentative(bool iTentative) { _Tentative = iTentative, _Stopped = false; }
    // The hash of a name of the next root's text, worked out already: the
    // lookup of that name (the same bytes at the same place) does not hash
    // it again.  Valid for the next Run only.
    void Hint(const char* iName, size_t iLength, unsigned int iHash)
    {
        _HintName = iName, _HintLength = iLength, _HintHash = iHash;
    }
    bool Stopped() const { return _Stopped; }

  private:
    struct Frame
    {
        zbMacroValue* _Macro;
        const zbMacroSet* _Home;
        // The text being resolved, and the string holding it when the
        // macro had one of its own (deleted with the frame).
        std::string_view _Work;
        zbMacroValue::OwnText* _Own;
        size_t _Pos;
        // The macros named by the reference at _Pos that had to be resolved
        // first (its name, its modifier's word): not looked up again.
        zbMacroValue* _Known[2];
        // Set once the value reached its size limit: nothing more is added.
        int _Cut;
        // Where the reference at _Pos opens and closes, and its ':', once
        // read (a macro it names had to be resolved first); _Open is npos
        // otherwise.
        size_t _Open;
        size_t _Close;
        const char* _Colon;
    };
    // What a name contributes.
    struct Lookup
    {
        int _Defined = 0;
        const char* _Text = "";
        size_t _Length = 0;
    };

    // Marks a macro under resolution (its value lives in a frame's buffer).
    static constexpr int UnderResolution = 2;

    void Push(zbMacroValue& ioMacro, const zbMacroSet* iHome);
    // Gives the top frame's macro its value and pops the frame.
    void Pop();
    zbMacroBuffer& Built(const Frame& iFrame)
    {
        return _Built[static_cast<size_t>(&iFrame - _Stack.data())];
    }
    // Resolves the top frame until it is complete (returns null) or until a
    // macro must be resolved first (returns it).
    zbMacroValue* Advance(Frame& ioFrame);
    // The pieces of Advance: finding the next reference, applying a
    // modifier, reading a quoted word.
    bool NextReference(Frame& ioFrame, size_t& oOpen, size_t& oClose, const char*& oColon);
    zbMacroValue* Modify(Frame& ioFrame, const char* iColon, const char* iInnerEnd, Lookup& ioValue,
                         size_t& ioNext);
    void QuotedWord(Frame& ioFrame, const char* iWord, const char* iInnerEnd, Lookup& ioValue,
                    size_t& ioNext);
    // Looks a name up; returns the macro to resolve first, or null when
    // oLookup holds the contribution.
    zbMacroValue* Find(const char* iName, size_t iLength, const zbMacroValue* iCurrent,
                       zbMacroValue*& ioKnown, Lookup& oLookup);
    // Appends text of the value's own text; a leading blank is skipped
    // while the value is still empty.
    void AppendPiece(Frame& ioFrame, const char* iBegin, const char* iEnd);
    // Appends text within the size limits.
    void Append(Frame& ioFrame, const char* iText, size_t iLength);
    // Whether a tentative pass stops here (see SetTentative).
    bool Stop()
    {
        if (_Tentative)
            _Stopped = true;
        return _Tentative;
    }
    // Gives the macros under resolution their texts back.
    void Restore();

    const zbMacroSet& _Set;
    const zbMacroSet* _Other;
    const zbMacroSet* _PendingHome = nullptr; // of the macro Find asks for
    int& _Failures;
    std::vector<Frame> _Stack;
    std::vector<zbMacroBuffer> _Built; // the values being built, by depth
    std::string _Scratch;
    size_t _Total = 0;
    bool _Tentative = false;
    bool _Stopped = false;
    const char* _HintName = nullptr;
    size_t _HintLength = 0;
    unsigned int _HintHash = 0;
};

void zbMacroSolver::Run(zbMacroValue& ioRoot, const zbMacroSet* iHome)
{
    struct HintEnd
    {
        zbMacroSolver& _Solver;
        ~HintEnd() { _Solver._HintName = nullptr; }
    } hintEnd{*this};
    if (ioRoot._Solved)
        return;
    ioRoot._Solved = 1;
    if (!zbMayHoldReference(ioRoot.GetText(), ioRoot.Length()))
    {
        if (iHome)
            iHome->_Settle(ioRoot);
        return;
    }
    Push(ioRoot, iHome);
    while (!_Stack.empty())
    {
        zbMacroValue* pending = Advance(_Stack.back());
        if (_Stopped)
        {
            Restore();
            return;
        }
        if (pending)
        {
            pending->_Solved = 1;
            Push(*pending, _PendingHome);
        }
        else
            Pop();
    }
}

void zbMacroSolver::Push(zbMacroValue& ioMacro, const zbMacroSet* iHome)
{
    ioMacro.DropList();
    zbMacroValue::OwnText* own = ioMacro.OwnPtr();
    _Stack.push_back(
        Frame{&ioMacro,
              iHome,
              std::string_view(ioMacro.GetText() ? ioMacro.GetText() : "", ioMacro.Length()),
              own,
              0,
              {nullptr, nullptr},
              0,
              std::string_view::npos,
              0,
              nullptr});
    ioMacro.SetViewPtr(nullptr);
    ioMacro._Length = 0;
    ioMacro._Solved = UnderResolution;
    if (_Built.size() < _Stack.size())
        _Built.resize(_Stack.size());
    _Built[_Stack.size() - 1].clear();
}

void zbMacroSolver::Pop()
{
    Frame& frame = _Stack.back();
    zbMacroValue* done = frame._Macro;
    const zbMacroBuffer& built = Built(frame);
    // Push left the macro without a text of its own.
    if (built.empty())
        done->SetViewPtr(nullptr), done->_Length = 0;
    else if (frame._Home)
    {
        done->SetViewPtr(frame._Home->_KeepText(built.data(), built.size()));
        done->_Length = static_cast<unsigned int>(built.size());
    }
    else
        done->SetOwnPtr(new zbMacroValue::OwnText(built.data(), built.size()));
    done->_Solved = 1;
    if (frame._Home && !frame._Own)
        frame._Home->_DropView(frame._Work.data());
    delete frame._Own;
    _Stack.pop_back();
}

void zbMacroSolver::Restore()
{
    for (size_t depth = _Stack.size(); depth-- > 0;)
    {
        Frame& frame = _Stack[depth];
        zbMacroValue& macro = *frame._Macro;
        if (frame._Own)
            macro.SetOwnPtr(frame._Own);
        else
            macro.SetViewPtr(frame._Work.data());
        macro._Length = frame._Own ? 0 : static_cast<unsigned int>(frame._Work.size());
        macro._Solved = 0;
        _Total -= _Built[depth].size();
    }
    _Stack.clear();
}

zbMacroValue* zbMacroSolver::Find(const char* iName, size_t iLength, const zbMacroValue* iCurrent,
                                  zbMacroValue*& ioKnown, Lookup& oLookup)
{
    oLookup = Lookup();
    zbMacroValue* macro = ioKnown;
    if (!macro)
    {
        const unsigned int hash =
            iName == _HintName && iLength == _HintLength ? _HintHash : QORHashBytes(iName, iLength);
        macro = static_cast<zbMacroValue*>(_Set.LocateBytes(iName, iLength, hash));
        _PendingHome = &_Set;
        if (!macro && _Other)
        {
            macro = static_cast<zbMacroValue*>(_Other->LocateBytes(iName, iLength, hash));
            _PendingHome = _Other;
        }
    }
    if (macro)
    {
        if (!macro->_Solved)
        {
            if (zbMayHoldReference(macro->GetText(), macro->Length()))
                return ioKnown = macro;
            macro->_Solved = 1;
            _PendingHome->_Settle(*macro);
        }
        oLookup._Defined = 1;
        if (const char* text = macro->GetText())
            oLookup._Text = text;
        oLookup._Length = macro->Length();
        if (macro->_Solved == UnderResolution && macro != iCurrent && Stop())
            return nullptr;
        if (macro->_Solved == UnderResolution)
            for (size_t i = _Stack.size(); i-- > 0;)
                if (_Stack[i]._Macro == macro)
                {
                    oLookup._Text = _Built[i].data();
                    oLookup._Length = _Built[i].size();
                    break;
                }
        if (macro == iCurrent)
        {
            // The value being built is appended to: take a copy.
            _Scratch.assign(oLookup._Text, oLookup._Length);
            oLookup._Text = _Scratch.c_str();
        }
        return nullptr;
    }
    if (const char* env = std::getenv(std::string(iName, iLength).c_str()))
    {
        oLookup._Defined = 1;
        oLookup._Text = env;
        oLookup._Length = std::strlen(env);
    }
    return nullptr;
}

void zbMacroSolver::AppendPiece(Frame& ioFrame, const char* iBegin, const char* iEnd)
{
    if (iBegin < iEnd && *iBegin == ' ' && Built(ioFrame).empty())
        ++iBegin;
    if (iBegin < iEnd)
        Append(ioFrame, iBegin, static_cast<size_t>(iEnd - iBegin));
}

void zbMacroSolver::Append(Frame& ioFrame, const char* iText, size_t iLength)
{
    if (ioFrame._Cut)
        return;
    zbMacroBuffer& value = Built(ioFrame);
    const bool tooLong = value.size() + iLength > zbMacroValue::MaxSolvedLength;
    if (tooLong || _Total + iLength > zbMacroValue::MaxSolvedTotal)
    {
        if (Stop())
            return;
        // References that multiply at each level grow exponentially: stop
        // this value rather than the process.
        ioFrame._Cut = 1;
        const std::string_view work = ioFrame._Work;
        zbReportMessage("zbMacroValue.TooLong",
                        {QORUnicodeString(work.data(), std::min<size_t>(work.size(), 60)),
                         QORUnicodeString(std::to_string(tooLong ? zbMacroValue::MaxSolvedLength
                                                                 : zbMacroValue::MaxSolvedTotal)
                                              .c_str())});
        ++_Failures;
        return;
    }
    value.append(iText, iLength);
    _Total += iLength;
}

// Finds the next reference from ioFrame._Pos on: its '$(' (oOpen), its
// ')' (oClose) and its ':' (oColon, null without one).  False when there is
// none: the rest of the text is appended and the frame is complete (or the
// pass stopped).
inline __attribute__((always_inline)) bool
zbMacroSolver::NextReference(Frame& ioFrame, size_t& oOpen, size_t& oClose, const char*& oColon)
{
    const std::string_view work = ioFrame._Work;
    const char* text = work.data();
    const size_t size = work.size();
    const size_t rest = ioFrame._Pos;
    oOpen = work.find("$(", rest);
    if (oOpen == std::string_view::npos)
    {
        AppendPiece(ioFrame, text + rest, text + size);
        if (!_Stopped)
            ioFrame._Pos = size;
        return false;
    }
    oClose = work.find(')', oOpen + 2);
    if (oClose == std::string_view::npos)
    {
        if (Stop())
            return false;
        zbReportImbalance("", QORString(text + rest, size - rest), "$()");
        ++_Failures;
        AppendPiece(ioFrame, text + rest, text + oOpen);
        ioFrame._Pos = size;
        return false;
    }
    oColon = static_cast<const char*>(std::memchr(text + oOpen + 2, ':', oClose - oOpen - 2));
    return true;
}

// Whether a modifier's rule (after the ':' and its '%') gives the word
// rather than the name's value, given what the name contributes; oKeepName:
// whether the name's value stays when the word is not used.
static inline bool zbUsesWord(char iRule, int iStrict, int iDefined, size_t iLength, int& oKeepName)
{
    oKeepName = 0;
    switch (iRule)
    {
    case '-':
        oKeepName = !iStrict;
        return iLength == 0;
    case '+':
        return iLength != 0;
    case '@':
        oKeepName = !iStrict;
        return !iDefined;
    case '?':
        return iDefined;
    default:
        oKeepName = !iStrict;
        return false;
    }
}

// A quoted word from iWord (its quote) to iInnerEnd: ioValue gets the
// quoted text and ioNext is moved after the ')' that follows the closing
// quote.  An unbalanced quote or parenthesis is reported.
void zbMacroSolver::QuotedWord(Frame& ioFrame, const char* iWord, const char* iInnerEnd,
                               Lookup& ioValue, size_t& ioNext)
{
    const std::string_view work = ioFrame._Work;
    const char* text = work.data();
    const char quote[2] = {*iWord, 0};
    const size_t wordPos = static_cast<size_t>(iWord - text);
    const size_t closing = work.find(*iWord, wordPos + 1);
    ioValue._Text = "", ioValue._Length = 0;
    if (closing == std::string_view::npos)
    {
        if (Stop())
            return;
        zbReportImbalance("", QORString(iWord, static_cast<size_t>(iInnerEnd - iWord)), quote);
        ++_Failures;
        return;
    }
    ioValue._Text = text + wordPos + 1;
    ioValue._Length = closing - wordPos - 1;
    const size_t paren = work.find(')', closing + 1);
    if (paren != std::string_view::npos)
        ioNext = paren + 1;
    else if (!Stop())
    {
        const size_t rest = ioFrame._Pos;
        zbReportImbalance("", QORString(text + rest, work.size() - rest), "$()");
        ++_Failures;
    }
}

// Applies the modifier after iColon to ioValue (what the name contributes
// on entry, what the reference contributes on return).  Returns the macro
// its word names when that one must be resolved first.
inline __attribute__((always_inline)) zbMacroValue*
zbMacroSolver::Modify(Frame& ioFrame, const char* iColon, const char* iInnerEnd, Lookup& ioValue,
                      size_t& ioNext)
{
    const char* mod = iColon + 1;
    int strict = 0;
    if (mod < iInnerEnd && *mod == '%')
        strict = 1, ++mod;
    const char rule = mod < iInnerEnd ? *mod : 0;
    const char* word = mod < iInnerEnd ? mod + 1 : iInnerEnd;
    int keepName;
    if (!zbUsesWord(rule, strict, ioValue._Defined, ioValue._Length, keepName))
    {
        if (!keepName)
            ioValue._Text = "", ioValue._Length = 0;
    }
    else if (word == iInnerEnd)
        ioValue._Text = "", ioValue._Length = 0;
    else if (*word == '\'' || *word == '"')
        QuotedWord(ioFrame, word, iInnerEnd, ioValue, ioNext);
    else
    {
        Lookup other;
        if (zbMacroValue* pending = Find(word, static_cast<size_t>(iInnerEnd - word),
                                         ioFrame._Macro, ioFrame._Known[1], other))
            return pending;
        ioValue._Text = other._Text;
        ioValue._Length = other._Length;
    }
    return nullptr;
}

zbMacroValue* zbMacroSolver::Advance(Frame& ioFrame)
{
    const char* text = ioFrame._Work.data();
    const size_t size = ioFrame._Work.size();
    while (ioFrame._Pos < size)
    {
        const size_t rest = ioFrame._Pos;
        size_t open = ioFrame._Open, close = ioFrame._Close;
        const char* colon = ioFrame._Colon;
        if (open == std::string_view::npos && !NextReference(ioFrame, open, close, colon))
            return nullptr;
        const char* inner = text + open + 2;
        const char* innerEnd = text + close;
        Lookup value;
        zbMacroValue* pending = Find(inner, static_cast<size_t>((colon ? colon : innerEnd) - inner),
                                     ioFrame._Macro, ioFrame._Known[0], value);
        size_t next = close + 1;
        if (!pending && !_Stopped && colon)
            pending = Modify(ioFrame, colon, innerEnd, value, next);
        if (pending)
        {
            ioFrame._Open = open, ioFrame._Close = close, ioFrame._Colon = colon;
            return pending;
        }
        if (_Stopped)
            return nullptr;

        if (value._Length)
        {
            AppendPiece(ioFrame, text + rest, text + open);
            Append(ioFrame, value._Text, value._Length);
        }
        else
        {
            size_t end = open;
            if (end > rest && text[end - 1] == ' ')
                --end;
            AppendPiece(ioFrame, text + rest, text + end);
        }
        if (_Stopped)
            return nullptr;
        ioFrame._Pos = next;
        ioFrame._Known[0] = ioFrame._Known[1] = nullptr;
        ioFrame._Open = std::string_view::npos;
    }
    return nullptr;
}

QORString& zbMacroValue::Solve(const zbMacroSet& iSet, const zbMacroSet* iOther, int& oFailures)
{
    if (!_Solved)
    {
        zbMacroSolver solver(iSet, iOther, oFailures);
        // The values of the set's own macros stay in the set's storage.
        solver.Run(*this, iSet._HoldsText(ViewPtr()) ? &iSet : nullptr);
    }
    return Own();
}

// Starts loading the index slot of the first name iMacro refers to, and
// gives that name and its hash (oName null when there is none).
static void zbPrefetchFirstReference(const zbMacroSet& iSet, const zbMacroValue& iMacro,
                                     const char*& oName, size_t& oLength, unsigned int& oHash)
{
    oName = nullptr;
    const char* text = iMacro.GetText();
    const size_t length = iMacro.Length();
    if (!text || length < 4)
        return;
    const char* end = text + length;
    for (const char* p = text;
         (p = static_cast<const char*>(std::memchr(p, '$', static_cast<size_t>(end - p - 1)))); ++p)
        if (p[1] == '(')
        {
            const char* name = p + 2;
            const char* nameEnd = name;
            while (nameEnd < end && *nameEnd != ')' && *nameEnd != ':')
                ++nameEnd;
            oName = name;
            oLength = static_cast<size_t>(nameEnd - name);
            oHash = QORHashBytes(name, oLength);
            iSet.PrefetchSlot(oHash);
            return;
        }
}

int zbMacroValue::_SolveAll(const zbMacroSet& iSet, const zbMacroSet* iOther)
{
    int failures = 0;
    zbMacroSolver solver(iSet, iOther, failures);
    // The macros in the order they are stored first: a macro usually names
    // macros defined before it, resolved just before and still in the
    // caches.  Then, when that pass had to stop, the set's own order.
    // Each macro is resolved a few macros after it is met, the index slot
    // of the first name it refers to being loaded meanwhile.
    solver.SetTentative(true);
    // A macro still unresolved when its turn comes has the text it had
    // when it was met: the name found then is at the same place.
    constexpr size_t Ahead = 8;
    struct Met
    {
        zbMacroValue* _Macro;
        const char* _Name;
        size_t _Length;
        unsigned int _Hash;
    } met[Ahead];
    size_t seen = 0, resolved = 0;
    const auto resolveNext = [&]()
    {
        const Met& next = met[resolved++ % Ahead];
        if (solver.Stopped())
            return;
        if (next._Name)
            solver.Hint(next._Name, next._Length, next._Hash);
        solver.Run(*next._Macro, &iSet);
    };
    iSet.ForEachStored(
        [&](const char*, size_t, void* iValue)
        {
            Met entry{static_cast<zbMacroValue*>(iValue), nullptr, 0, 0};
            if (!entry._Macro->_Solved)
                zbPrefetchFirstReference(iSet, *entry._Macro, entry._Name, entry._Length,
                                         entry._Hash);
            if (seen - resolved == Ahead)
                resolveNext();
            met[seen++ % Ahead] = entry;
        });
    while (resolved < seen)
        resolveNext();
    const bool stopped = solver.Stopped();
    solver.SetTentative(false);
    if (!stopped)
        return failures;
    iSet.ForEachBytes(
        [&](const char*, size_t, void* iValue, void* iAhead)
        {
            if (iAhead)
                __builtin_prefetch(static_cast<const zbMacroValue*>(iAhead)->_Ptr._View);
            solver.Run(*static_cast<zbMacroValue*>(iValue), &iSet);
        });
    return failures;
}

QORString& zbMacroValue::Solve(const zbMacroSet& iSet, const zbMacroSet* iOther)
{
    int failures = 0;
    return Solve(iSet, iOther, failures);
}

// ---------------------------------------------------------------------------
// Words.

QORListValQORString& zbMacroValue::GetListOfValues(QORListValQORString& ioList) const
{
    const char* text = GetText() ? GetText() : "";
    const char* end = text + Length();
    const char* p = text;
    while (p < end)
    {
        while (p < end && zbIsBlank(*p))
            ++p;
        if (p == end)
            break;
        if (*p == '"' || *p == '\'')
        {
            const char* closing =
                static_cast<const char*>(std::memchr(p + 1, *p, static_cast<size_t>(end - p - 1)));
            if (!closing)
            {
                const char quote[2] = {*p, 0};
                zbReportImbalance("", QORString(text, Length()), quote);
                break;
            }
            ioList.Append(QORString(p + 1, static_cast<size_t>(closing - p - 1)));
            p = closing + 1;
            continue;
        }
        const char* start = p;
        while (p < end && !zbIsBlank(*p))
            ++p;
        ioList.Append(QORString(start, static_cast<size_t>(p - start)));
    }
    return ioList;
}

QORListValQORString* zbMacroValue::GetListOfValues()
{
    OwnText& own = Own();
    if (!own._List)
    {
        own._List = new QORListValQORString;
        GetListOfValues(*own._List);
    }
    return own._List;
}
