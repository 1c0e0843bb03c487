#ifndef zbBaseUnknown_H
#define zbBaseUnknown_H
// A concrete base of the component model for the library's implementation
// classes: a QORBaseUnknown that also tells its class name.

#include "QORBaseUnknown.h"

class zbBaseUnknown : public QORBaseUnknown
{
    QOR_DECLARE_CLASS(zbBaseUnknown)

  public:
    zbBaseUnknown() = default;
    // IsA(): the class name known to the object model.
    virtual const char* GetClassName() const;

  protected:
    ~zbBaseUnknown() override;
};

#endif
