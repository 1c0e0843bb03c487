#include "zbTabArg.h"

#include <cstring>

#include "zbInternalError.h"
#include "zbOFStream.h"

zbTabArg::zbTabArg(const unsigned int iInitialCapacity, const unsigned int iIncrement)
    : _Argc(0), _Argv(new _SingleArgv*[iInitialCapacity]), _Increment(iIncrement),
      _Capacity(iInitialCapacity)
{
}

zbTabArg::~zbTabArg()
{
    for (unsigned int i = 0; i < _Argc; ++i)
        delete _Argv[i];
    delete[] _Argv;
}

void zbTabArg::Append(_SingleArgv* iEntry)
{
    if (_Argc == _Capacity)
    {
        // A zero increment would never make room: grow by one slot then.
        unsigned int capacity = _Capacity + (_Increment ? _Increment : 1);
        _SingleArgv** slots = new _SingleArgv*[capacity];
        if (_Argc)
            std::memcpy(slots, _Argv, _Argc * sizeof(_SingleArgv*));
        delete[] _Argv;
        _Argv = slots;
        _Capacity = capacity;
    }
    _Argv[_Argc++] = iEntry;
}

void zbTabArg::AddArray(const char* const* iArgv, const unsigned int iFirst)
{
    if (!iArgv)
        return;
    for (unsigned int i = iFirst; iArgv[i]; ++i)
        Append(new _SingleArgv(iArgv[i]));
}

void zbTabArg::AddArray(const unsigned int iArgc, const char* const* iArgv,
                        const unsigned int iFirst)
{
    if (!iArgv)
        return;
    for (unsigned int i = iFirst; i < iArgc; ++i)
        Append(new _SingleArgv(iArgv[i]));
}

void zbTabArg::AddString(const char* iCommand)
{
    if (!iCommand || !*iCommand)
        return;
    while (*iCommand == ' ')
        ++iCommand;
    size_t length = std::strlen(iCommand);
    char* copy = new char[length + 1];
    std::memcpy(copy, iCommand, length + 1);
    Append(new _DuplicateArgv0(copy));
    char* position = nullptr;
    char* token = ::strtok_r(copy, " ", &position); // the first word: the copy's start
    while (token && (token = ::strtok_r(nullptr, " ", &position)))
        Append(new _SingleArgv(token));
}

const char* zbTabArg::operator[](const unsigned int iPos) const
{
    if (iPos >= _Argc)
        zbInternalError("iPos >= 0 && iPos < _Argc", "ZbUtilities/QORZbServices.m/src/zbTabArg",
                        166, 1);
    return _Argv[iPos]->_Arg;
}

void zbTabArg::Dump(zbOFStream& oStream) const
{
    for (unsigned int i = 0; i < _Argc; ++i)
        oStream.Print("# Argv[%u] = [%s]\n", i, _Argv[i]->_Arg ? _Argv[i]->_Arg : "");
}
