#ifndef zbEnvironVariable_H
#define zbEnvironVariable_H
// An environment variable that can be read, edited and exported.
//
// PutEnvironmentValue hands the object's own buffer to putenv: the object
// must outlive the use of that environment entry.

#include "QORListVal.h"
#include "QORString.h"

class zbEnvironVariable
{
  public:
    explicit zbEnvironVariable(const char* iName);
    zbEnvironVariable(const char* iName, const char* iValue);
    zbEnvironVariable(const zbEnvironVariable& iOther);
    virtual ~zbEnvironVariable();

    const char* Name() const { return _Name.CastToCharPtr(); }
    // The value, or null when unset.
    const char* Value() const { return _Value.IsNull() ? nullptr : _Value.CastToCharPtr(); }

    const char* operator=(const char* iValue);
    // Copies the other's value only; the name stays.
    const char* operator=(const zbEnvironVariable& iOther);
    // Values only; an object always equals itself.
    bool operator==(const zbEnvironVariable& iOther) const;
    bool operator!=(const zbEnvironVariable& iOther) const { return !(*this == iOther); }

    const char* GetEnvironmentValue();
    const char* AppendValues(const char* iValues, const char* iSeparator);
    const char* InsertValues(const char* iValues, const char* iSeparator);
    const char* PutEnvironmentValue();

  private:
    QORString _Name;
    QORString _Value;
    unsigned int _BufferSize = 0;
    char* _Buffer = nullptr;
};

using QORListValzbEnvironVariable = QORListVal<zbEnvironVariable>;

#endif
