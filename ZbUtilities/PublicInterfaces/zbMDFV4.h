#ifndef zbMDFV4_H
#define zbMDFV4_H
// An MDF V4 description file, loaded into memory and indexed by section.
//
// A line whose first character after blanks and tabs is '*' opens a
// section; the lines after it, up to the next header, are its values.  From
// a '/' to the end of its line is a comment; blanks and tabs lead no line;
// empty lines do not count.  The header "*  NAME  more" opens the section
// keyed "*NAME".  Text before the first header is not read.  A header
// without values opens no section; a section whose key was already read is
// reported ("V4.MDF.DuplicateSection") and dropped.
//
// The set owns the file's text, the table of value lines and the sections.

#include "QORString.h"
#include "zbMDFV4Section.h"

class zbOFStream;

class zbMDFV4 : public QORHashDicSzbMDFV4Section
{
  public:
    explicit zbMDFV4(const unsigned int iBuckets);
    // With the context's verbose flag set, prints the statistics of the
    // sections' dictionary to zbStdout first.
    virtual ~zbMDFV4();
    zbMDFV4(const zbMDFV4&) = delete;
    zbMDFV4& operator=(const zbMDFV4&) = delete;

    // Empties the set, then reads iFileName.  0 when the file was read
    // without duplicate sections; otherwise the number of duplicates, or 1
    // when the file cannot be read (reported), is empty or has no header.
    int InsertFile(const char* iFileName);

    // The section, or a section of size 0 when there is none of that name.
    const zbMDFV4Section& Locate(const QORString& iName) const;
    // 0 when there is no such section; otherwise appends its values to
    // ioList and returns their number.
    int GetListOfValues(const QORString& iName, QORListValQORString& ioList) const;
    // 1 when the section existed (it is deleted), else 0.
    int Remove(const QORString& iName);
    // Iteration: start with a null cursor; each call returns the next
    // section and its name and leaves the cursor on that name.  Null at the
    // end.
    const zbMDFV4Section* Next(const QORString*& ioCursor, QORString& oName) const;

    // Cuts every value line at its first blank or tab.
    void StripSpaces();

    void Dump(zbOFStream& oStream) const;
    void PrintStats(zbOFStream& oStream) const;

  private:
    void _Clear();
    int _Parse(const char* iFileName);
    void _CloseSection(const char* iFileName, const QORString& iKey, unsigned int iFirst,
                       int& ioDuplicates);

    const char** _Lines;
    unsigned int _NbLinesMax;
    unsigned int _NbLines;
    char* _Buffer;
    unsigned int _BufferLength;
    zbMDFV4Section _EmptySection;
};

#endif
