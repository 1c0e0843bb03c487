#include "zbEnvironVariable.h"

#include <cstdlib>
#include <cstring>

zbEnvironVariable::zbEnvironVariable(const char* iName) : _Name(iName) {}

zbEnvironVariable::zbEnvironVariable(const char* iName, const char* iValue)
    : _Name(iName), _Value(iValue)
{
}

zbEnvironVariable::zbEnvironVariable(const zbEnvironVariable& iOther)
    : _Name(iOther._Name), _Value(iOther._Value)
{
}

zbEnvironVariable::~zbEnvironVariable()
{
    // While the environment still points at the buffer, the buffer stays:
    // freeing it would leave the process environment dangling.
    if (_Buffer && std::getenv(_Name.CastToCharPtr()) != _Buffer + _Name.Length() + 1)
        delete[] _Buffer;
}

const char* zbEnvironVariable::operator=(const char* iValue)
{
    _Value = iValue;
    return Value();
}

const char* zbEnvironVariable::operator=(const zbEnvironVariable& iOther)
{
    if (this != &iOther)
        _Value = iOther._Value;
    return Value();
}

bool zbEnvironVariable::operator==(const zbEnvironVariable& iOther) const
{
    if (this == &iOther)
        return true;
    return _Value.IsNull() == iOther._Value.IsNull() && _Value == iOther._Value;
}

const char* zbEnvironVariable::GetEnvironmentValue()
{
    _Value = std::getenv(_Name.CastToCharPtr());
    return Value();
}

const char* zbEnvironVariable::AppendValues(const char* iValues, const char* iSeparator)
{
    if (iSeparator)
        _Value.Append(iSeparator);
    if (iValues)
        _Value.Append(iValues);
    return Value();
}

const char* zbEnvironVariable::InsertValues(const char* iValues, const char* iSeparator)
{
    QORString value(iValues);
    if (iSeparator)
        value.Append(iSeparator);
    if (!_Value.IsNull())
        value.Append(_Value);
    if (iValues || iSeparator || !_Value.IsNull())
        _Value = value;
    return Value();
}

const char* zbEnvironVariable::PutEnvironmentValue()
{
    unsigned int needed = static_cast<unsigned int>(_Name.Length() + _Value.Length() + 1);
    // The environment may point at the old buffer: it is freed only once the
    // new one has replaced it there.
    char* old = nullptr;
    if (!_Buffer || needed > _BufferSize)
    {
        old = _Buffer;
        _BufferSize = needed;
        _Buffer = new char[_BufferSize + 1];
    }
    std::memset(_Buffer, 0, _BufferSize + 1);
    std::memcpy(_Buffer, _Name.CastToCharPtr(), static_cast<size_t>(_Name.Length()));
    _Buffer[_Name.Length()] = '=';
    std::memcpy(_Buffer + _Name.Length() + 1, _Value.CastToCharPtr(),
                static_cast<size_t>(_Value.Length()));
    ::putenv(_Buffer);
    delete[] old;
    return Value();
}
