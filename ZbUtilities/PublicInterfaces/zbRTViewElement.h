#ifndef zbRTViewElement_H
#define zbRTViewElement_H
// One element of the runtime view: what a module or a framework delivers
// into the installed tree, as one record of a runtime-view data file:
//
//   TTT/SSS/EEE NAME|RTVNAME
//
// TTT the type code, SSS the skills modulo 1000 in three digits, EEE the
// exposure code, then the name and the name in the runtime view.  A record
// (line feed included) is shorter than MaxRecordLength bytes; a longer one
// is never written.

#include "QORListPtr.h"
#include "zbHashDic.h"
#include "zbNewString.h"
#include "zbRTViewElementExposure.h"
#include "zbRTViewElementType.h"

class zbOFStream;

class zbRTViewElement
{
  public:
    // The tags, from one table of rows.
    static const zbRTViewElementType Runtime;
    static const zbRTViewElementType Buildtime;
    static const zbRTViewElementType Internal;
    static const zbRTViewElementType Data;
    static const zbRTViewElementType DataInternal;
    static const zbRTViewElementExposure Deliverable;
    static const zbRTViewElementExposure NotDeliverable;

    // Skill bits.
    static constexpr int Strip = 1;
    static constexpr int InFramework = 2;

    // Record separators: after the type code, after the skills, after the
    // exposure code, between the two names.
    static constexpr char _tSsIs = '/';
    static constexpr char _sSeIs = '/';
    static constexpr char _eSrIs = ' ';
    static constexpr char _rSsIs = '|';

    static constexpr unsigned int MaxRecordLength = 4096;
    // Bytes of a record besides the two names: the twelve header bytes, the
    // bar and the line feed.
    static constexpr unsigned int RecordOverhead = 14;

    // Empty names, skills 0, Internal, NotDeliverable.
    zbRTViewElement();
    // Parses one record; the line ends at a line feed, a NUL or after
    // MaxRecordLength bytes.  Unknown codes read as Internal and
    // NotDeliverable; without a runtime-view name the name is taken.
    explicit zbRTViewElement(const char* iRecord);
    // The same for a record of iLength bytes that needs no NUL after it.
    zbRTViewElement(const char* iRecord, unsigned int iLength);
    zbRTViewElement(const char* iName, const char* iRTVname, const zbRTViewElementType& iType,
                    const zbRTViewElementExposure& iExposure, const int iSkills);
    zbRTViewElement(const zbRTViewElement& iOther);
    virtual ~zbRTViewElement();

    virtual zbRTViewElement& operator=(const zbRTViewElement& iOther);
    // Writes the record and a NUL into iBuffer (at least MaxRecordLength
    // bytes); oLength is the record's length without the NUL, 0 when the
    // record would be too long (nothing written then).
    virtual void FillBuffer(char* iBuffer, unsigned int& oLength) const;
    // The record without its line feed, the skills not reduced.
    virtual void Print(zbOFStream& ioStream) const;

    zbRTViewElement& operator=(const zbRTViewElementType& iType);
    zbRTViewElement& operator=(const zbRTViewElementExposure& iExposure);
    const zbRTViewElementType& Type() const { return *_Type; }
    const zbRTViewElementExposure& Exposure() const { return *_Exposure; }
    const char* Typestr() const { return _Type->GetName(); }
    const char* Exposurestr() const { return _Exposure->GetName(); }

    // Every bit of iSkill is set.
    bool HasSkill(const int iSkill) const { return (_Skills & iSkill) == iSkill; }
    void SetFullRTVname(const zbNewString& iName);
    // Null when never set.
    const zbNewString* GetFullRTVname() const { return _FullRTVname; }

    // The names are equal.
    bool operator==(const zbRTViewElement& iOther) const { return _Name == iOther._Name; }

    // The merge rule of two records of one name: true when iNew is to take
    // the place of iStored (a higher type, or the same type and a higher
    // exposure).  With iReport, two records of the same type naming
    // different runtime-view files are reported ("RTVduplicate_r").
    static bool Supersedes(const zbRTViewElement& iNew, const zbRTViewElement& iStored,
                           bool iReport);

    zbNewString _Name;
    zbNewString _RTVname;
    int _Skills;
    const zbRTViewElementType* _Type;
    const zbRTViewElementExposure* _Exposure;
    // Owned; never written to a file.
    zbNewString* _FullRTVname;
};

using QORListPtrzbRTViewElement = QORListPtr<zbRTViewElement>;

using zbHashDiczbRTViewElement = zbHashDic<zbRTViewElement>;
template <> struct zbHashDicValueName<zbRTViewElement>
{
    static const char* Text() { return "zbRTViewElement"; }
};

#endif
