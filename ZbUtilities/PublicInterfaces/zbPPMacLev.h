#ifndef zbPPMacLev_H
#define zbPPMacLev_H
// The level macros the conditions of the preprocessor test, loaded from a
// level file (itself preprocessed: its #define lines make the levels).

#include "QORString.h"
#include "zbMacroSet.h"

class zbOFStream;

class zbPPMacLev
{
  public:
    explicit zbPPMacLev(const int iBuckets);
    virtual ~zbPPMacLev();
    zbPPMacLev(const zbPPMacLev&) = delete;
    zbPPMacLev& operator=(const zbPPMacLev&) = delete;

    const zbMacroSet& GetDefines() const { return _Defines; }
    // 1 once a level file was read without error.
    void SetLoadStatus(const int& iStatus) { _LoadStatus = iStatus; }
    int GetLoadStatus() const { return _LoadStatus; }

    // With a value: NAME = value, replacing.  Without: iName may be a
    // NAME=VALUE assignment; otherwise NAME gets an empty value.  1 when a
    // macro was inserted, else 0.
    int Insert(const QORString& iName, const char* iValue);
    // Loads and preprocesses a level file into the levels.  0, or 1 when the
    // file cannot be read, is empty, or has an error.
    int InsertLevel(const char* iLevelFile);
    // The value of a level, or null.
    const QORString* GetValue(const QORString& iName) const;
    void Remove(const QORString& iName);
    void Dump(zbOFStream& oStream) const;

  private:
    int _LoadStatus;
    zbMacroSet _Defines;
};

#endif
