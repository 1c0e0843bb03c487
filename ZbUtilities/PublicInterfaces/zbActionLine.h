#ifndef zbActionLine_H
#define zbActionLine_H
// A command line in two parts: a static part shared by several runs, and
// the whole command, the static part followed by what one run adds (the
// dynamic part).  Placeholders are names between two _delim characters
// ("%OUT%").
//
// A change of the static part (Set, Add) also resets the whole command to
// it; ReplaceIntoStaticPart changes the static part only.

#include "QORString.h"

class zbOFStream;

class zbActionLine
{
  public:
    zbActionLine() = default;
    virtual ~zbActionLine();

    void SetStaticPart(const QORString& iValue);
    // Separator then the value (between two _Quote when Quoted) appended
    // to the static part; for a list, each value in order.  Null texts are
    // empty.
    void AddToStaticPart(const char* Value, const char* Separator, const int Quoted);
    void AddToStaticPart(const QORString& Value, const char* Separator, const int Quoted);
    void AddToStaticPart(const QORListValQORString& Values, const char* Separator,
                         const int Quoted);
    // Replaces the placeholder of Name (first occurrence) by Value in the
    // static part: its position, -1 when it does not occur or Name is null.
    int ReplaceIntoStaticPart(const char* Name, const QORString& Value);

    void ResetDynamicPart();
    void AddToDynamicPart(const char* Value, const char* Separator, const int Quoted);
    void AddToDynamicPart(const QORString& Value, const char* Separator, const int Quoted);
    void AddToDynamicPart(const QORListValQORString& Values, const char* Separator,
                          const int Quoted);
    int ReplaceIntoDynamicPart(const char* Name, const QORString& Value);

    const QORString& GetStaticPart() const { return _StaticPart; }
    const QORString& GetWholeCommand() const { return _WholeCommand; }
    operator const char*() const { return _WholeCommand.CastToCharPtr(); }

    void Dump(zbOFStream& oStream);

    static const char* const _delim;
    static const char _Quote;

  private:
    QORString _StaticPart;
    QORString _WholeCommand;
};

#endif
