#include "QORDemangler.h"

#include <cstring>

bool QORDemangler::Run()
{
    if (std::strncmp(_P, "_Z", 2))
        return false;
    _P += 2;
    size_t start = _Out.Length();
    if (!Name(true))
        return false;
    _Out << "(";
    if (*_P == 'v' && !_P[1])
        ++_P;
    for (bool first = true; *_P; first = false)
    {
        if (!first)
            _Out << ", ";
        if (!Type())
            return false;
    }
    _Out << (_ConstMember ? ") const" : ")");
    return _Out.Length() > start;
}

bool QORDemangler::SourceName()
{
    size_t length = 0;
    if (*_P < '1' || *_P > '9')
        return false;
    while (*_P >= '0' && *_P <= '9')
        length = length * 10 + static_cast<size_t>(*_P++ - '0');
    if (std::strlen(_P) < length)
        return false;
    _Out.Append(_P, length);
    _P += length;
    return true;
}

// A name, plain or nested (N [K] prefix... E); every prefix becomes a
// substitution candidate, the function's own name excepted.
bool QORDemangler::Name(bool iFunction)
{
    if (*_P != 'N')
    {
        size_t from = _Out.Length();
        if (!std::strncmp(_P, "St", 2))
            _P += 2, _Out << "std::";
        if (!SourceName())
            return false;
        if (!iFunction)
            Remember(from);
        return true;
    }
    ++_P;
    bool constMember = *_P == 'K';
    if (constMember)
        ++_P;
    size_t from = _Out.Length();
    for (bool first = true; *_P != 'E'; first = false)
    {
        if (!first)
            _Out << "::";
        if (!SourceName())
            return false;
        if (*_P != 'E' || !iFunction)
            Remember(from);
    }
    ++_P;
    if (iFunction)
        _ConstMember = constMember;
    return true;
}

void QORDemangler::Remember(size_t iFrom)
{
    if (_Count < sizeof _Subs / sizeof _Subs[0])
        _Subs[_Count++] = {iFrom, _Out.Length()};
}

// S_ is the first substitution, S0_ the second, S1_ the third... (base 36).
bool QORDemangler::Substitution()
{
    ++_P;
    size_t index = 0;
    if (*_P != '_')
    {
        while (*_P != '_' && *_P)
        {
            char d = *_P++;
            index = index * 36 + static_cast<size_t>(d <= '9' ? d - '0' : d - 'A' + 10);
        }
        ++index;
    }
    if (*_P++ != '_' || index >= _Count)
        return false;
    _Out.Repeat(_Subs[index]._From, _Subs[index]._To);
    return true;
}

bool QORDemangler::Type()
{
    static const char* const kBuiltins[][2] = {
        {"v", "void"},
        {"b", "bool"},
        {"c", "char"},
        {"a", "signed char"},
        {"h", "unsigned char"},
        {"s", "short"},
        {"t", "unsigned short"},
        {"i", "int"},
        {"j", "unsigned int"},
        {"l", "long"},
        {"m", "unsigned long"},
        {"x", "long long"},
        {"y", "unsigned long long"},
        {"f", "float"},
        {"d", "double"},
        {"e", "long double"},
        {"w", "wchar_t"},
    };
    size_t from = _Out.Length();
    char c = *_P;
    if (c == 'P' || c == 'R' || c == 'O' || c == 'K')
    {
        ++_P;
        if (!Type())
            return false;
        _Out << (c == 'P' ? "*" : c == 'R' ? "&" : c == 'O' ? "&&" : " const");
        Remember(from);
        return true;
    }
    if (c == 'S' &&
        (_P[1] == '_' || (_P[1] >= '0' && _P[1] <= '9') || (_P[1] >= 'A' && _P[1] <= 'Z')))
        return Substitution();
    for (const auto& builtin : kBuiltins)
        if (c == builtin[0][0])
        {
            ++_P;
            _Out << builtin[1];
            return true;
        }
    if (c == 'N' || (c >= '1' && c <= '9') || !std::strncmp(_P, "St", 2))
        return Name(false);
    return false;
}
