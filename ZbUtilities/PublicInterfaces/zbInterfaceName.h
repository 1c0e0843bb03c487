#ifndef zbInterfaceName_H
#define zbInterfaceName_H
// A file name that also knows, from its path alone, whether it is an
// interface header of a framework, how far it is exposed and whether it lies
// in a generated-header directory.
//
// The exposure level comes from the first directory component named
// PublicInterfaces, ProtectedInterfaces, PrivateInterfaces, LocalInterfaces,
// their ...Generated counterparts, or starting with V4Adaptors or
// V4Generated (the older adaptor directories, always public).

#include "QORListPtr.h"
#include "QORListVal.h"
#include "QORString.h"
#include "zbFileName.h"

class zbOFStream;

class zbInterfaceName : public zbFileName
{
  public:
    enum
    {
        Unknown = 0,
        Local = 1,
        Private = 2,
        Protected = 3,
        Public = 4
    };
    // Names of the levels, indexed by level.
    static const char* const _strLevel[5];

    zbInterfaceName();
    zbInterfaceName(const zbInterfaceName& iOther);
    zbInterfaceName(const zbFileName& iName);
    zbInterfaceName(const char* iPath);
    ~zbInterfaceName() override;

    zbInterfaceName& operator=(const zbInterfaceName& iOther);
    zbInterfaceName& operator=(const zbFileName& iName);
    zbInterfaceName& operator=(const char* iPath);

    int IsAnInterface() const { return _ExposureLevel != Unknown ? 1 : 0; }
    int IsAGeneratedInterface() const { return _Generated; }
    const int& GetExposureLevel() const { return _ExposureLevel; }
    const char* GetExposureName() const { return _strLevel[_ExposureLevel]; }
    // The first component after the workspace marker, or "" and null when
    // the path has no marker followed by a character.
    QORString* GetFrameworkName(QORString& oOut) const;
    // -1 when this name is not an interface; 1 when iOther is not one;
    // otherwise -1, 0, 1 as this level is lower, equal or higher.
    int CompareLevel(const zbInterfaceName& iOther) const;

    void Dump(zbOFStream& ioStream) const override;

  private:
    // Sets both fields from the current full pathname.
    void Classify();

    int _ExposureLevel;
    int _Generated;
};

// RemoveDuplicates (by pointer) comes with the raw list.
using QORListPtrzbInterfaceName = QORListPtr<zbInterfaceName>;
using QORListValzbInterfaceName = QORListVal<zbInterfaceName>;

#endif
