#ifndef QORDemangler_H
#define QORDemangler_H
// A demangler of the plain names of functions (_Z17zbContextualAborti is
// "zbContextualAbort(int)"), for stack traces written from a signal handler.
// The platform's demangler (abi::__cxa_demangle) allocates its result with
// malloc, which a signal handler must not call: the signal may have come in
// the middle of malloc itself.  This one writes into a fixed line and
// allocates nothing.  It knows nested names, built-in types, pointers,
// references, const and substitutions; anything else (templates,
// operators...) makes it fail, and the caller then shows the symbol as it is.

#include <cstddef>

#include "QORFixedLine.h"

class QORDemangler
{
  public:
    QORDemangler(const char* iName, QORFixedLine& oLine) : _P(iName), _Out(oLine) {}
    // Appends the demangled name; false when the name is not of the kind
    // known (the line may then hold part of it).
    bool Run();

  private:
    bool SourceName();
    bool Name(bool iFunction);
    bool Substitution();
    bool Type();
    void Remember(size_t iFrom);

    struct Piece
    {
        size_t _From, _To;
    };

    const char* _P;
    QORFixedLine& _Out;
    Piece _Subs[32];
    size_t _Count = 0;
    bool _ConstMember = false;
};

#endif
