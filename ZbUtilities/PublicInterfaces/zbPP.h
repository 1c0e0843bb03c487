#ifndef zbPP_H
#define zbPP_H
// The preprocessor of description files, working in place on a
// NUL-terminated buffer.
//
// Directives, with '#' in the first column and blanks allowed after it:
//   #if COND, #ifdef COND, #ifndef COND (= #if !COND), #elif COND, #else,
//   #endif, #define NAME [VALUE], #undef NAME, #include "file" | <file>.
// Conditions: names (defined NAME and NAME test whether NAME is a level
// macro or a macro of the set; os NAME does the same without requiring a
// loaded level file), numbers, NAME ==|>=|>|<=|< NUMBER, '!', "&&", "||"
// and parentheses.  Operands combine strictly from left to right:
// P || Q && R is (P || Q) && R.  A comparison binds to its name; '!' inverts
// the operand that follows it, numbers included.
//
// Text of active lines is kept; inactive branches, comments (block comments
// with the newlines they hold), #if/#ifdef/#ifndef/#elif/#undef lines and
// inactive #define lines leave nothing; an active #define line leaves its
// newline, preceded by its own text when it had a value; #else and #endif
// lines keep the rest of their line; active #include lines are kept.

class zbMacroSet;
class zbPPMacLev;

// Preprocesses ioBuffer in place.  #define and #undef act on ioMacros;
// conditions look names up in the levels, then in ioMacros.  With
// iCheckLevels non-zero, testing a level (NAME, defined NAME) while no level
// file was loaded is an error.  Errors are reported through the trace
// manager, iFileName and the line first.  Returns 0, or 1 after any error,
// the buffer then being cut to an empty string.  A null buffer gives 0.
// Not re-entrant: one buffer at a time in the process.
int zbPP(const zbPPMacLev& iLevels, zbMacroSet& ioMacros, char* ioBuffer, const char* iFileName,
         int iCheckLevels);

#endif
