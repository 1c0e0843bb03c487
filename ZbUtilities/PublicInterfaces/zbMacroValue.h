#ifndef zbMacroValue_H
#define zbMacroValue_H
// The value of one macro of a description file.
//
// Text given to the value is normalised: surrounding blanks and tabs go, and
// one pair of enclosing single quotes is removed.  References $(NAME) and
// $(NAME:MODIFIER) are resolved on demand by Solve against a macro set, a
// second set and the environment; a value is resolved at most once.  The
// value also splits itself into words (GetListOfValues), quotes grouping
// blanks into one word.

#include <cstddef>
#include <utility>

#include "QORListVal.h"
#include "QORString.h"

class zbMacroSet;
class zbOFStream;

class zbMacroValue
{
  public:
    // Limits of resolution: the length of one resolved value, and the text
    // one resolution (of a value or of a whole set) may produce in all.
    // Beyond them the value is cut and an error is reported.
    static constexpr size_t MaxSolvedLength = size_t(1) << 24;
    static constexpr size_t MaxSolvedTotal = size_t(1) << 28;

    zbMacroValue();
    zbMacroValue(const zbMacroValue& iOther);
    zbMacroValue(const QORString& iText);
    zbMacroValue(const char* iText);
    ~zbMacroValue();

    // Normalises the first iLength characters of iText into the value.
    void _Init(const char* iText, unsigned int iLength);

    // Normalised assignment.
    zbMacroValue& operator=(const char* iText);
    // The text unchanged, to be resolved again.
    zbMacroValue& operator=(const QORString& iText);
    // Takes the other's text and resolution state when the texts differ.
    zbMacroValue& operator=(const zbMacroValue& iOther);

    bool operator==(const zbMacroValue& iOther) const;
    bool operator!=(const zbMacroValue& iOther) const { return !(*this == iOther); }

    // The text as a string.  A value kept by a set holds its text in the
    // set's storage; asking for the string gives the value a copy of its
    // own, which it keeps from then on.
    const QORString& GetValue() const;
    // The text without a string: null for a null value, else Length() bytes
    // followed by a null character.
    const char* GetText() const
    {
        if (_HasOwn)
            return _Ptr._Own->IsNull() ? nullptr : _Ptr._Own->CastToCharPtr();
        return _Ptr._View;
    }
    size_t Length() const { return _HasOwn ? static_cast<size_t>(_Ptr._Own->Length()) : _Length; }
    int IsSolved() const { return _Solved; }
    void Reset();
    // Every '/' becomes '\'.
    void DosifyPath();

    // Resolves the references in place and returns the value.  A macro that
    // refers to itself, directly or through others, sees the value built so
    // far instead of recursing.
    QORString& Solve(const zbMacroSet& iSet, const zbMacroSet* iOther);
    // As Solve; oFailures is increased by the number of reports printed.
    QORString& Solve(const zbMacroSet& iSet, const zbMacroSet* iOther, int& oFailures);

    // Resolves every macro of iSet (Solve of each, in the set's order);
    // returns the number of reports printed.
    static int _SolveAll(const zbMacroSet& iSet, const zbMacroSet* iOther);

    // Appends the words of the value to ioList and returns it.
    QORListValQORString& GetListOfValues(QORListValQORString& ioList) const;
    // The cached word list, built on first use.
    QORListValQORString* GetListOfValues();

    void Dump(zbOFStream& oStream) const;

  private:
    friend class zbMacroSolver;
    friend class zbMacroSet;
    void DropList();
    // Takes iLength bytes at iText, kept elsewhere for the life of the value,
    // as the text (null iText: a null value).
    void SetView(const char* iText, size_t iLength);
    struct OwnText;
    // The text as a string of the value's own, made once.
    OwnText& Own() const;
    // The text once normalised: the first and last kept characters.
    static bool Normalise(const char*& ioBegin, const char*& ioEnd)
    {
        while (ioEnd > ioBegin && (ioEnd[-1] == ' ' || ioEnd[-1] == '\t'))
            --ioEnd;
        while (ioBegin < ioEnd && (*ioBegin == ' ' || *ioBegin == '\t'))
            ++ioBegin;
        if (ioBegin == ioEnd)
            return false;
        if (ioEnd - ioBegin >= 2 && *ioBegin == '\'' && ioEnd[-1] == '\'')
            ++ioBegin, --ioEnd;
        return true;
    }

    // The value's own text, and the word list made of it once asked for: a
    // value without one costs no pointer of its own for the list.
    struct OwnText : QORString
    {
        using QORString::QORString;
        using QORString::operator=;
        explicit OwnText(QORString&& iText) : QORString(std::move(iText)) {}
        OwnText(const OwnText&) = delete;
        OwnText& operator=(const OwnText&) = delete;
        ~OwnText();
        QORListValQORString* _List = nullptr;
    };

    // The text is a view of bytes kept elsewhere or a string of the value's
    // own, one pointer told apart by _HasOwn: a value costs 16 bytes.
    OwnText* OwnPtr() const { return _HasOwn ? _Ptr._Own : nullptr; }
    const char* ViewPtr() const { return _HasOwn ? nullptr : _Ptr._View; }
    void SetOwnPtr(OwnText* iOwn) const
    {
        _HasOwn = iOwn != nullptr;
        if (iOwn)
            _Ptr._Own = iOwn;
        else
            _Ptr._View = nullptr;
    }
    void SetViewPtr(const char* iView)
    {
        _HasOwn = false;
        _Ptr._View = iView;
    }

    unsigned int _Length; // of the view
    signed char _Solved;
    mutable bool _HasOwn;
    mutable union
    {
        const char* _View;
        OwnText* _Own;
    } _Ptr;
};

#endif
