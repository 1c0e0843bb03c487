#ifndef zbPPState_H
#define zbPPState_H
// Internal to the preprocessor: the state shared by zbPP and the actions of
// its scanner (zbPPScanner.l).  One instance for the process: zbPP is not
// re-entrant.
//
// The buffer is filtered in place.  The scanner reads it through
// _zbMyInput, which advances mypIn; the actions write the kept text at
// mypOut.  Everything written was read before, so mypOut never passes mypIn.

#include <cstring>
#include <string>

#include "QORString.h"
#include "QORUnicodeString.h"

class zbMacroSet;
class zbMacroValue;
class zbPPMacLev;

// The input hook of the scanner: copies at most iMaxSize unread bytes to
// oBuffer and returns their number (0 at the end of the buffer).
int _zbMyInput(char* oBuffer, int iMaxSize);

struct zbPPState
{
    // At most 49 nested conditional blocks (block 0 is the file level) and
    // 19 nested parentheses (frame 0 is the condition itself).
    static constexpr int MaxBlocks = 50;
    static constexpr int MaxFrames = 20;

    struct Block
    {
        int _Active; // its text is written out
        int _Else;   // number of #else seen
        int _Taken;  // some branch was already active
    };

    // One level of parentheses of a condition.  The running value combines
    // the operands strictly left to right.  _Before and _LastOp keep the
    // state before the last operand, so that a comparison can take the
    // place of the test of the name it follows.
    struct Frame
    {
        int _Value;
        int _Before;
        int _Count;     // operands combined so far
        char _Op;       // pending operator: 'n' none, 'a' and, 'o' or
        char _LastOp;   // operator that combined the last operand
        int _NegAtOpen; // negation in force before the opening parenthesis
    };

    enum Test
    {
        NoTest = 0,
        LevelTest = 1,
        PlainTest = 2
    };

    // Input and output cursors.
    char* mypIn;
    char* mypEnd;
    char* mypOut;

    int yplineno;
    QORUnicodeString msgArgs;
    int nerr;

    const zbPPMacLev* _Levels;
    zbMacroSet* _Macros;
    int _CheckLevels;

    Block tblk[MaxBlocks];
    int nblk;
    // #if blocks beyond the table: counted, never active.
    int _ExcessBlocks;

    Frame texp[MaxFrames];
    int nexp;
    int _ExcessFrames;
    // Where the value of the condition goes: the active flag of the block
    // being decided, or bidon when that block cannot become active.
    int* _Result;
    int bidon;

    int negation;
    int _Armed;        // Test armed by defined/os for the next name
    int _LastWasName;  // the last token was a name operand
    int _CondReported; // an error of this condition was reported already
    int _SyntaxBad;    // an operator came where an operand was expected

    // The #define being read: where its text starts in the output, and
    // whether it is kept (it had a value); where its name and its last
    // number lie in that text (null: none yet).
    char* _DefineStart;
    int _DefineEcho;
    const char* _DefineName;
    size_t _DefineNameLength;
    const char* _DefineNumber;
    size_t _DefineNumberLength;
    std::string _Name;

    int _CommentLine;    // line where the open block comment started
    int _IncludeNewline; // the newline of an #include line is due

    bool Active() const { return _ExcessBlocks == 0 && tblk[nblk]._Active; }

    void Write(const char* iText, int iLength)
    {
        std::memcpy(mypOut, iText, static_cast<size_t>(iLength));
        mypOut += iLength;
    }
    void Write(char iChar) { *mypOut++ = iChar; }

    // Text states.
    void OpenBlock(int iNegation);
    void Elif();
    void Else();
    void Endif();
    void BeginDefine(const char* iText, int iLength);
    void DefineName(const char* iName, int iLength);
    void DefineNumber(const char* iNumber, int iLength);
    void DefineText(const char* iText, int iLength, int iEcho);
    void EndDefine(int iNewline);
    void Undef(const char* iName, int iLength);
    // An #include line is written with a newline.  The newline goes out
    // with the next character read on the line, so that a last line without
    // one does not make the text grow.
    void Include(const char* iText, int iLength);
    void EndInclude()
    {
        if (_IncludeNewline)
        {
            Write('\n');
            _IncludeNewline = 0;
        }
    }

    // Condition.
    void Arm(Test iTest);
    void NameOperand(const char* iName, int iLength);
    void NumberOperand(const char* iNumber);
    void Compare(const char* iText);
    void Operator(char iOp);
    void OpenParenthesis();
    void CloseParenthesis();
    void EndCondition();

    // Reports a catalog message (the file and the current line first) and
    // counts an error.
    void Error(const char* iKey);
    void Error(const char* iKey, const char* iThird);
    void Error(const char* iKey, int iLine, const char* iThird);
    void Error(const char* iKey, int iLine, const char* iThird, const char* iFourth);

  private:
    void StartCondition(int* iResult, int iNegation);
    void Combine(int iValue);
    // The macro _Name in the levels, else in the macros; null when it is a
    // macro of neither.
    const zbMacroValue* Lookup() const;
};

extern zbPPState zbPPCurrent;

// Runs the scanner over zbPPCurrent's input (defined in zbPPScanner.l).
int _zbPPScan();

#endif
