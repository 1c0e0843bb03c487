// The preprocessor of description files: conditional blocks on level
// macros, #define/#undef into a macro set, comments removed, #include lines
// passed through.  The scanner (zbPPScanner.l) recognises the tokens; the
// block and condition rules live here.
//
// Conditions combine their operands strictly from left to right, with no
// precedence between "&&" and "||": P || Q && R is (P || Q) && R.  A
// comparison NAME op NUMBER is one operand: its outcome takes the place of
// the test of NAME before NAME is combined with what precedes it, so
// A && V >= 2 || B is (A && (V >= 2)) || B.  '!' inverts the operand that
// follows, whatever its kind (a name, a number, a comparison or a group in
// parentheses): !0 is true.

#include "zbPP.h"

#include <cstdlib>
#include <cstring>

#include "zbContext.h"
#include "zbInternalError.h"
#include "zbMacroSet.h"
#include "zbOFStream.h"
#include "zbPPMacLev.h"
#include "zbPPState.h"
#include "zbReport.h"
#include "zbTraceManager.h"

zbPPState zbPPCurrent;

static int zbPPRunning = 0;

int _zbMyInput(char* oBuffer, int iMaxSize)
{
    zbPPState& s = zbPPCurrent;
    long available = s.mypEnd - s.mypIn;
    int count = iMaxSize < available ? iMaxSize : static_cast<int>(available);
    if (count <= 0)
        return 0;
    std::memcpy(oBuffer, s.mypIn, static_cast<size_t>(count));
    s.mypIn += count;
    return count;
}

// strtol(iText, nullptr, 0), the common case read directly: a decimal
// number of at most 18 digits, which cannot overflow.
static long zbPPValue(const char* iText)
{
    if (*iText >= '1' && *iText <= '9')
    {
        long value = 0;
        const char* p = iText;
        for (; *p >= '0' && *p <= '9' && p - iText < 18; ++p)
            value = value * 10 + (*p - '0');
        if (!(*p >= '0' && *p <= '9'))
            return value;
    }
    return std::strtol(iText, nullptr, 0);
}

static QORUnicodeString zbPPNumber(int iValue)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", iValue);
    return QORUnicodeString(text);
}

// ---------------------------------------------------------------------------
// Reports.

void zbPPState::Error(const char* iKey)
{
    ++nerr;
    zbReportMessage(QORString(iKey), {msgArgs, zbPPNumber(yplineno)});
}

void zbPPState::Error(const char* iKey, const char* iThird)
{
    Error(iKey, yplineno, iThird);
}

void zbPPState::Error(const char* iKey, int iLine, const char* iThird)
{
    ++nerr;
    zbReportMessage(QORString(iKey), {msgArgs, zbPPNumber(iLine), QORUnicodeString(iThird)});
}

void zbPPState::Error(const char* iKey, int iLine, const char* iThird, const char* iFourth)
{
    ++nerr;
    zbReportMessage(QORString(iKey), {msgArgs, zbPPNumber(iLine), QORUnicodeString(iThird),
                                      QORUnicodeString(iFourth)});
}

// ---------------------------------------------------------------------------
// Blocks.

void zbPPState::StartCondition(int* iResult, int iNegation)
{
    nexp = 0;
    _ExcessFrames = 0;
    Frame& f = texp[0];
    f._Value = f._Before = 0;
    f._Count = 0;
    f._Op = f._LastOp = 'n';
    f._NegAtOpen = 0;
    _Result = iResult;
    negation = iNegation;
    _Armed = NoTest;
    _LastWasName = 0;
    _CondReported = 0;
    _SyntaxBad = 0;
}

void zbPPState::OpenBlock(int iNegation)
{
    bidon = 0;
    if (_ExcessBlocks > 0 || nblk + 1 >= MaxBlocks)
    {
        if (_ExcessBlocks++ == 0)
            Error("zbPP.TooDeep", yplineno, "49", "#if blocks");
        StartCondition(&bidon, iNegation);
        _CondReported = 1;
        return;
    }
    int enclosing = tblk[nblk]._Active;
    Block& b = tblk[++nblk];
    b._Active = enclosing;
    b._Else = 0;
    b._Taken = 0;
    StartCondition(enclosing ? &b._Active : &bidon, iNegation);
}

void zbPPState::Elif()
{
    bidon = 0;
    if (_ExcessBlocks > 0)
    {
        StartCondition(&bidon, 0);
        _CondReported = 1;
        return;
    }
    if (nblk == 0 || tblk[nblk]._Else > 0)
    {
        Error("errPPmiss", "#if");
        StartCondition(&bidon, 0);
        return;
    }
    Block& b = tblk[nblk];
    b._Active = 0;
    StartCondition(tblk[nblk - 1]._Active && !b._Taken ? &b._Active : &bidon, 0);
}

void zbPPState::Else()
{
    if (_ExcessBlocks > 0)
        return;
    if (nblk == 0 || tblk[nblk]._Else > 0)
    {
        Error("errPPmiss", "#if");
        return;
    }
    Block& b = tblk[nblk];
    ++b._Else;
    if (tblk[nblk - 1]._Active)
        b._Active = !b._Taken;
}

void zbPPState::Endif()
{
    if (_ExcessBlocks > 0)
    {
        --_ExcessBlocks;
        return;
    }
    if (nblk == 0)
    {
        Error("errPPmiss", "#if");
        return;
    }
    --nblk;
}

// ---------------------------------------------------------------------------
// #define, #undef, #include (only met in active blocks).

void zbPPState::BeginDefine(const char* iText, int iLength)
{
    _DefineStart = mypOut;
    _DefineEcho = 0;
    _DefineName = _DefineNumber = nullptr;
    _DefineNameLength = _DefineNumberLength = 0;
    Write(iText, iLength);
}

// The name and the last number are kept where the directive's text is
// written, and the macro is inserted once, at the end of the line.
void zbPPState::DefineName(const char* iName, int iLength)
{
    _DefineName = mypOut;
    _DefineNameLength = static_cast<size_t>(iLength);
    Write(iName, iLength);
}

void zbPPState::DefineNumber(const char* iNumber, int iLength)
{
    _DefineNumber = mypOut;
    _DefineNumberLength = static_cast<size_t>(iLength);
    DefineText(iNumber, iLength, 1);
}

void zbPPState::DefineText(const char* iText, int iLength, int iEcho)
{
    _DefineEcho |= iEcho;
    Write(iText, iLength);
}

void zbPPState::EndDefine(int iNewline)
{
    if (_DefineName)
        _Macros->Insert(_DefineName, _DefineNameLength, _DefineNumber, _DefineNumberLength,
                        zbMacroSet::ReplaceExisting);
    _DefineName = nullptr;
    if (!_DefineEcho)
        mypOut = _DefineStart;
    if (iNewline)
        Write('\n');
}

void zbPPState::Undef(const char* iName, int iLength)
{
    _Macros->Remove(QORString(iName, static_cast<size_t>(iLength)));
}

void zbPPState::Include(const char* iText, int iLength)
{
    Write(iText, iLength);
    _IncludeNewline = 1;
}

// ---------------------------------------------------------------------------
// Conditions.

const zbMacroValue* zbPPState::Lookup() const
{
    const unsigned int hash = QORHashBytes(_Name.data(), _Name.size());
    if (const zbMacroValue* macro =
            _Levels->GetDefines().GetMacro(_Name.data(), _Name.size(), hash))
        return macro;
    return _Macros->GetMacro(_Name.data(), _Name.size(), hash);
}

void zbPPState::Arm(Test iTest)
{
    if (_ExcessFrames > 0)
        return;
    if (_Armed != NoTest)
    {
        // "defined defined X": the test is given twice.
        _Armed = NoTest;
        if (!_CondReported)
            Error("errPPse");
        _CondReported = 1;
        return;
    }
    _Armed = iTest;
}

// Adds an operand (its negation already applied) to the innermost frame.
void zbPPState::Combine(int iValue)
{
    Frame& f = texp[nexp];
    if (f._Count > 0 && f._Op == 'n')
    {
        if (!_CondReported)
            Error("errPPsns");
        _CondReported = 1;
        return;
    }
    f._Before = f._Value;
    f._LastOp = f._Op;
    switch (f._Op)
    {
    case 'n':
        f._Value = iValue;
        break;
    case 'a':
        f._Value = f._Value && iValue;
        break;
    case 'o':
        f._Value = f._Value || iValue;
        break;
    default:
        zbInternalError("unknown operator", "ZbUtilities/ZbFiles.m/src/zbPP", __LINE__, 1);
    }
    f._Op = 'n';
    ++f._Count;
    if (nexp == 0)
        *_Result = f._Value;
}

void zbPPState::NameOperand(const char* iName, int iLength)
{
    if (_ExcessFrames > 0)
        return;
    _Name.assign(iName, static_cast<size_t>(iLength));
    Test test = _Armed == NoTest ? LevelTest : static_cast<Test>(_Armed);
    _Armed = NoTest;
    int value;
    if (test == LevelTest && _CheckLevels && !_Levels->GetLoadStatus())
    {
        Error("errPPlvl");
        _CondReported = 1;
        value = 0; // false whatever the negation
    }
    else
        value = (Lookup() != nullptr) ^ negation;
    Combine(value);
    _LastWasName = 1;
}

void zbPPState::NumberOperand(const char* iNumber)
{
    if (_ExcessFrames > 0)
        return;
    _Armed = NoTest;
    Combine((zbPPValue(iNumber) != 0) ^ negation);
    _LastWasName = 0;
}

void zbPPState::Compare(const char* iText)
{
    if (_ExcessFrames > 0)
        return;
    if (!_LastWasName)
    {
        // Nothing to compare: "5 > 3", "(A) > 3", "V > 1 > 2".
        if (!_CondReported)
            Error("errPPse");
        _CondReported = 1;
        return;
    }
    _LastWasName = 0;
    const char* op = iText;
    const char* number = op + 1;
    if (*number == '=')
        ++number;
    while (*number == ' ' || *number == '\t')
        ++number;
    long left = 0;
    if (const zbMacroValue* macro = Lookup())
        left = macro->Length() == 0 ? 1 : zbPPValue(macro->GetText());
    long right = zbPPValue(number);
    int outcome;
    if (op[0] == '=')
        outcome = left == right;
    else if (op[0] == '>')
        outcome = op[1] == '=' ? left >= right : left > right;
    else
        outcome = op[1] == '=' ? left <= right : left < right;
    outcome ^= negation;

    // The comparison replaces the test of the name just combined.
    Frame& f = texp[nexp];
    switch (f._LastOp)
    {
    case 'a':
        f._Value = f._Before && outcome;
        break;
    case 'o':
        f._Value = f._Before || outcome;
        break;
    default:
        f._Value = outcome;
        break;
    }
    if (nexp == 0)
        *_Result = f._Value;
}

void zbPPState::Operator(char iOp)
{
    if (_ExcessFrames > 0)
        return;
    Frame& f = texp[nexp];
    if (f._Count == 0 || f._Op != 'n')
    {
        // "&& X", "X && || Y": reported at the end of the condition.
        _SyntaxBad = 1;
        return;
    }
    f._Op = iOp;
    negation = 0;
    _Armed = NoTest;
    _LastWasName = 0;
}

void zbPPState::OpenParenthesis()
{
    if (_ExcessFrames > 0 || nexp + 1 >= MaxFrames)
    {
        if (_ExcessFrames++ == 0 && !_CondReported)
            Error("zbPP.TooDeep", yplineno, "19", "parentheses");
        _CondReported = 1;
        return;
    }
    Frame& f = texp[++nexp];
    f._Value = f._Before = 0;
    f._Count = 0;
    f._Op = f._LastOp = 'n';
    f._NegAtOpen = negation;
    negation = 0;
    _LastWasName = 0;
}

void zbPPState::CloseParenthesis()
{
    if (_ExcessFrames > 0)
    {
        --_ExcessFrames;
        return;
    }
    if (nexp == 0)
    {
        if (!_CondReported)
            Error("errPPse");
        _CondReported = 1;
        return;
    }
    const Frame& inner = texp[nexp];
    int complete = inner._Count > 0 && inner._Op == 'n';
    int value = inner._Value ^ inner._NegAtOpen;
    --nexp;
    negation = 0;
    _Armed = NoTest;
    if (!complete)
    {
        // "()", "(A &&)": the operand is missing.
        if (!_CondReported)
            Error("errPPse");
        _CondReported = 1;
    }
    Combine(value);
    _LastWasName = 0;
}

void zbPPState::EndCondition()
{
    const Frame& f = texp[0];
    int complete = !_SyntaxBad && f._Count > 0 && f._Op == 'n' && nexp == 0 && _ExcessFrames == 0;
    if (!complete && !_CondReported)
        Error("errPPse");
    *_Result = f._Value;
    if (_Result != &bidon)
        tblk[nblk]._Taken = tblk[nblk]._Taken || tblk[nblk]._Active;
}

// ---------------------------------------------------------------------------

int zbPP(const zbPPMacLev& iLevels, zbMacroSet& ioMacros, char* ioBuffer, const char* iFileName,
         int iCheckLevels)
{
    if (!ioBuffer)
        return 0;
    if (zbPPRunning)
        zbInternalError("zbPP entered twice", "ZbUtilities/ZbFiles.m/src/zbPP", __LINE__, 1);
    zbPPRunning = 1;

    zbPPState& s = zbPPCurrent;
    s.mypIn = ioBuffer;
    s.mypEnd = ioBuffer + std::strlen(ioBuffer);
    s.mypOut = ioBuffer;
    s.yplineno = 1;
    s.msgArgs = QORUnicodeString(iFileName ? iFileName : "");
    s.nerr = 0;
    s._Levels = &iLevels;
    s._Macros = &ioMacros;
    s._CheckLevels = iCheckLevels;
    s.nblk = 0;
    s.tblk[0] = zbPPState::Block{1, 0, 0};
    s._ExcessBlocks = 0;
    s.nexp = 0;
    s._ExcessFrames = 0;
    s.bidon = 0;
    s._Result = &s.bidon;
    s.negation = 0;
    s._Armed = zbPPState::NoTest;
    s._LastWasName = 0;
    s._CondReported = 0;
    s._SyntaxBad = 0;
    s._DefineStart = ioBuffer;
    s._DefineEcho = 0;
    s._DefineName = nullptr;
    s._CommentLine = 0;
    s._IncludeNewline = 0;

    _zbPPScan();
    *s.mypOut = 0;

    int open = s.nblk + s._ExcessBlocks;
    if (open > 0)
    {
        s.Error("errPPmiss", s.yplineno - 1, "#endif");
        s.nerr += open - 1;
    }
    else if (open < 0)
        s.Error("errPPmiss", s.yplineno - 1, "#if");

    int status = 0;
    if (s.nerr != 0)
    {
        ioBuffer[0] = 0;
        status = 1;
    }
    s._Levels = nullptr;
    s._Macros = nullptr;
    zbPPRunning = 0;
    return status;
}
