#ifndef zbTabArg_H
#define zbTabArg_H
// A growable argument vector.  Entries either point at text owned by the
// caller (_SingleArgv) or own a copy of a whole command string whose words
// the following entries point into (_DuplicateArgv0).

class zbOFStream;

class _SingleArgv
{
  public:
    explicit _SingleArgv(const char* iArg) : _Arg(iArg) {}
    virtual ~_SingleArgv() = default;
    _SingleArgv(const _SingleArgv&) = delete;
    _SingleArgv& operator=(const _SingleArgv&) = delete;

    const char* _Arg;
};

class _DuplicateArgv0 : public _SingleArgv
{
  public:
    // Takes ownership of iBuffer (new[]); the argument is its start.
    explicit _DuplicateArgv0(char* iBuffer) : _SingleArgv(iBuffer), _Buffer(iBuffer) {}
    ~_DuplicateArgv0() override { delete[] _Buffer; }

    char* _Buffer;
};

class zbTabArg
{
  public:
    zbTabArg(const unsigned int iInitialCapacity, const unsigned int iIncrement);
    virtual ~zbTabArg();
    zbTabArg(const zbTabArg&) = delete;
    zbTabArg& operator=(const zbTabArg&) = delete;

    // Appends iArgv[iFirst] up to the first null entry (not copied).
    void AddArray(const char* const* iArgv, const unsigned int iFirst);
    // Appends iArgv[iFirst] to iArgv[iArgc - 1] (not copied).
    void AddArray(const unsigned int iArgc, const char* const* iArgv, const unsigned int iFirst);
    // Appends a copy of iCommand (leading blanks dropped) split at blanks
    // (' ' only: tabs stay inside words).  Nothing for null or "".
    void AddString(const char* iCommand);

    unsigned int Argc() const { return _Argc; }
    // Entry iPos (from 0); out of range is a fatal internal error.
    const char* operator[](const unsigned int iPos) const;
    void Dump(zbOFStream& oStream) const;

  private:
    void Append(_SingleArgv* iEntry);

    unsigned int _Argc;
    _SingleArgv** _Argv;
    unsigned int _Increment;
    unsigned int _Capacity;
};

#endif
