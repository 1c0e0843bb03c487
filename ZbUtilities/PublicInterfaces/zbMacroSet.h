#ifndef zbMacroSet_H
#define zbMacroSet_H
// The macros of one or more description files: macro name -> value.
//
// Description files are makefile-like: NAME = value lines, '#' comments,
// backslash continuation lines, quoted text spanning lines, and "include "
// lines naming files found through path finders.  The set owns its values.
//
// Insert modes: 0 (ReplaceExisting) gives an existing macro the new value;
// any other value (KeepExisting) keeps it.  A new name is always inserted.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "QORHashDicS.h"
#include "QORListVal.h"
#include "QORString.h"
#include "zbMacroValue.h"

class zbOFStream;
class zbSetOfPathFinder;
struct zbIncludeChain;

using QORHashDicSzbMacroValue = QORHashDicS<zbMacroValue>;

class zbMacroSet : public QORHashDicSzbMacroValue
{
  public:
    enum InsertMode
    {
        ReplaceExisting = 0,
        KeepExisting = 1
    };

    // Include lines nested deeper than this are refused.
    static constexpr int MaxIncludeDepth = 64;

    explicit zbMacroSet(const unsigned int iBuckets);
    virtual ~zbMacroSet();
    zbMacroSet(const zbMacroSet&) = delete;
    zbMacroSet& operator=(const zbMacroSet&) = delete;

    zbMacroValue* GetMacro(const QORString& iName) const { return Locate(iName); }
    // The same by the name's bytes and their hash (QORHashBytes): no string
    // is built for a lookup.
    zbMacroValue* GetMacro(const char* iName, size_t iLength, unsigned int iHash) const
    {
        return static_cast<zbMacroValue*>(LocateBytes(iName, iLength, iHash));
    }
    const QORString* GetValue(const QORString& iName) const;
    QORListValQORString* GetListOfValues(const QORString& iName) const;
    QORListValQORString* GetListOfValues(const QORString& iName, QORListValQORString& ioList) const;

    // Iteration: start with a null cursor; each call returns the next macro
    // and its name, and leaves the cursor on that name (&oName).  Null at
    // the end.
    zbMacroValue* Next(const QORString*& ioCursor, QORString& oName) const;

    zbMacroValue* Insert(const QORString& iName, const char* iValue, const InsertMode& iMode);
    zbMacroValue* Insert(const QORString& iName, const zbMacroValue& iValue,
                         const InsertMode& iMode);
    zbMacroValue* _InsertOrReplace(const QORString& iName, const char* iValue,
                                   const InsertMode& iMode);
    zbMacroValue* _InsertOrReplace(const QORString& iName, const zbMacroValue& iValue,
                                   const InsertMode& iMode);
    // The name given as its bytes, the value as iTextLength bytes of iText
    // (normalised; null or empty: an empty value).
    zbMacroValue* Insert(const char* iName, size_t iLength, const char* iText, size_t iTextLength,
                         const InsertMode& iMode)
    {
        return _InsertNamed(iName, iLength, QORHashBytes(iName, iLength), iText,
                            static_cast<unsigned int>(iTextLength), iMode);
    }
    // "NAME sep value": splits at the first separator (null when there is
    // none); the name is the first word before it.  Modifies ioText.
    zbMacroValue* Insert(char* ioText, const char iSeparator, const InsertMode& iMode);
    // The name is the first word of ioName.
    zbMacroValue* _Insert(char* ioName, char* iValue, const InsertMode& iMode);

    int InsertMacroSet(const zbMacroSet& iOther, const InsertMode& iMode);
    // Loads, normalises and inserts a file; 0, or the number of failures
    // (each reported).  An empty file, as one of comments only, is an
    // empty set.  Its include lines are followed alike.
    int InsertFile(const char* iFileName, zbSetOfPathFinder* iFinders, const char iSeparator,
                   const InsertMode& iMode);
    // Inserts a normalised buffer (modified in place); the number of failures.
    int InsertBuffer(char* ioBuffer, zbSetOfPathFinder* iFinders, const char iSeparator,
                     const InsertMode& iMode);
    // Normalises ioBuffer in place: comments, continuation lines, blanks and
    // empty lines.  Null after an unterminated quote (reported).
    static char* ParseBuffer(const char* iFileName, char* ioBuffer);

    // 1 when the macro existed (its value is deleted), else 0.
    int Remove(const QORString& iName);

    // Resolves every macro; returns the number of reports printed.
    int Solve(const zbMacroSet* iOther);
    const QORString* Solve(const QORString& iName, const zbMacroSet* iOther);
    void DosifyPath();

    bool operator==(const zbMacroSet& iOther) const;
    bool operator!=(const zbMacroSet& iOther) const { return !(*this == iOther); }

    // NAME='value' lines in one write; 0, or 1 when the write failed.
    int Print(zbOFStream& oStream) const;
    void Dump(zbOFStream& oStream) const;
    void PrintStats(zbOFStream& oStream) const;

    // Keeps a copy of iLength bytes of iText, followed by a null character,
    // for the life of the set: the texts of its macros.
    const char* _KeepText(const char* iText, size_t iLength) const;
    // Whether iData lies in what the set keeps (texts and macros).
    bool _HoldsText(const void* iData) const;
    // ioMacro, a macro of the set found to need no resolution, moves its
    // text as read from a file into the set's other storage.
    void _Settle(zbMacroValue& ioMacro) const;
    // A macro of the set no longer has iText (as read from a file, or
    // another text) as its text.
    void _DropView(const char* iText) const;
    // Deletes every macro and empties the set.
    void ApplyDelete();

  private:
    // iSize bytes aligned on iAlign, kept for the life of the set.
    char* _Keep(size_t iSize, size_t iAlign) const
    {
        const size_t pad = static_cast<size_t>(-reinterpret_cast<uintptr_t>(_Free)) & (iAlign - 1);
        if (pad + iSize > _Left)
            return _KeepInNewBlock(iSize, iAlign);
        char* bytes = _Free + pad;
        _Free = bytes + iSize;
        _Left -= pad + iSize;
        return bytes;
    }
    char* _KeepInNewBlock(size_t iSize, size_t iAlign) const;
    // A new block of at least iSize bytes becomes the one kept in.
    void _NewBlock(size_t iSize) const;
    // A new empty macro kept by the set; the end of a macro, whether the
    // set keeps it or it was given to the set.
    zbMacroValue* _NewMacro();
    void _DeleteMacro(zbMacroValue* ioMacro);

    // The kept texts and macros: blocks filled one after the other, each
    // twice as large as the one before (up to 8 MB), so that neither costs
    // an allocation of its own.  Macros are kept from the start of a block
    // up, texts from its end down.
    struct TextBlock
    {
        TextBlock* _Next;
        size_t _Size;
        char* Bytes() { return reinterpret_cast<char*>(this + 1); }
    };
    mutable TextBlock* _Blocks = nullptr; // the newest first
    mutable char* _Free = nullptr;        // the first free byte, above the macros
    mutable char* _Top = nullptr;         // the lowest text kept in the newest block
    mutable size_t _Left = 0;             // from _Free to _Top
    mutable size_t _TopLength = 0;        // of the text at _Top, when it is null-terminated there

    // The texts read from description files, apart: blocks of their own,
    // each counting the macros whose text lies in it.  Once every one of
    // them took a text of its own (resolved), the block goes back to the
    // system, so that a set being resolved does not hold both the texts as
    // read and as resolved.
    struct ReadBlock
    {
        ReadBlock* _Next;
        size_t _Size;  // of the mapping
        size_t _Views; // macros whose text lies in the block
        char* Bytes() { return reinterpret_cast<char*>(this + 1); }
        bool Holds(const char* iText)
        {
            return iText >= Bytes() && iText < reinterpret_cast<char*>(this) + _Size;
        }
    };
    mutable ReadBlock* _ReadBlocks = nullptr; // the newest first
    mutable char* _ReadFree = nullptr;
    mutable size_t _ReadLeft = 0;
    const char* _KeepRead(const char* iText, size_t iLength);
    // The block holding iText, or null.
    ReadBlock* _ReadBlockOf(const char* iText) const;
    mutable ReadBlock* _ReadHit = nullptr; // the block found last
    void _FreeReadBlock(ReadBlock* iBlock) const;

    // Inserts iLength characters of iText (normalised) under the first word
    // of iName.
    zbMacroValue* _InsertText(const char* iName, const char* iNameEnd, const char* iText,
                              unsigned int iLength, const InsertMode& iMode);
    // The same under the name's bytes and hash (QORHashBytes).
    zbMacroValue* _InsertNamed(const char* iName, size_t iLength, unsigned int iHash,
                               const char* iText, unsigned int iTextLength,
                               const InsertMode& iMode);
    // iOwnedEnd, when not null: ioBuffer is the set's own up to there, its
    // pages given back to the system as its lines are inserted.
    int _InsertBuffer(char* ioBuffer, zbSetOfPathFinder* iFinders, const char iSeparator,
                      const InsertMode& iMode, zbIncludeChain& ioChain, const char* iOwnedEnd);
    // The pieces of _InsertBuffer: inserting the definitions of a buffer
    // (the names of its includes go to oIncludes), and inserting an
    // include's file (the number of failures).
    void _InsertLines(char* ioBuffer, const char iSeparator, const InsertMode& iMode, bool iOwned,
                      std::vector<std::string>& oIncludes);
    int _InsertInclude(const char* iName, zbSetOfPathFinder* iFinders, const char iSeparator,
                       const InsertMode& iMode, zbIncludeChain& ioChain);
    // Loads, normalises and inserts the file iPath; the number of failures.
    int _InsertLoaded(const char* iPath, zbSetOfPathFinder* iFinders, const char iSeparator,
                      const InsertMode& iMode, zbIncludeChain& ioChain);
};

#endif
