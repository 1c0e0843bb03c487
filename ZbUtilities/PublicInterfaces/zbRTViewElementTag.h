#ifndef zbRTViewElementTag_H
#define zbRTViewElementTag_H
// Tags of runtime-view elements: an id (a bit, so that ids combine into
// masks), the three-character code a data file records, and a name.  The
// tags themselves are the static members of zbRTViewElement.

class zbRTViewElementTag
{
  public:
    constexpr zbRTViewElementTag(const int iId, const char* iCode, const char* iName)
        : _Id(iId), _Code(iCode), _Name(iName)
    {
    }
    virtual ~zbRTViewElementTag();

    operator int() const { return _Id; }
    int operator|(const int iValue) const { return _Id | iValue; }
    // The id equals iMask, or every bit of the id is set in iMask.
    bool MatchId(const int iMask) const { return _Id == iMask || (_Id & iMask) == _Id; }
    // The first three bytes of iText are the code.
    bool MatchTag(const char* iText) const;

    bool operator==(const zbRTViewElementTag& iOther) const { return _Id == iOther._Id; }
    bool operator<(const zbRTViewElementTag& iOther) const { return _Id < iOther._Id; }
    bool operator<=(const zbRTViewElementTag& iOther) const { return _Id <= iOther._Id; }
    bool operator>(const zbRTViewElementTag& iOther) const { return _Id > iOther._Id; }
    bool operator>=(const zbRTViewElementTag& iOther) const { return _Id >= iOther._Id; }

    int GetId() const { return _Id; }
    const char* GetCode() const { return _Code; }
    const char* GetName() const { return _Name; }

  private:
    int _Id;
    const char* _Code;
    const char* _Name;
};

#endif
