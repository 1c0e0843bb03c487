#ifndef QORMsgCatalog_H
#define QORMsgCatalog_H
// Message catalogs: texts by key, read from a plain-text file.
//
// A catalog named NAME is the file NAME.msgcat, searched in the directories
// of the environment variable QOR_MSGCATALOG_PATH (separated by ':'), then in
// resources/msgcatalog and share/zbzb/msgcatalog beside the directory that
// holds this library (which covers the build tree and an installed tree).
//
// File format (UTF-8), one entry per line:
//   KEY = TEXT
// Lines starting with '#' and blank lines are ignored.  KEY is made of
// letters, digits, '.', '_' and '-'.  Blanks around '=' and at both ends of
// TEXT are dropped.  In TEXT, %1 to %9 are parameter places and %% is a
// percent sign; a backslash introduces \n (newline), \t (tab), \s (blank),
// \\ (backslash), \uXXXX (four hexadecimal digits) or \U{X...} (any code
// point).  A backslash at the end of a line continues the text on the next
// line, whose leading blanks are dropped.  A malformed entry is reported on
// standard error with the file and line and skipped; the others load.  A key
// defined twice keeps its first text.

#include <string>
#include <unordered_map>

#include "QORMsg.h"
#include "QORString.h"
#include "QORUnicodeString.h"

class QORMsgCatalog
{
  public:
    QORMsgCatalog() = default;
    virtual ~QORMsgCatalog() = default;

    // Loads catalog iName from iDirectory, or along the search path when
    // iDirectory is null.  Non-zero when loaded, 0 on failure (GetError).
    int LoadMsgCatalog(const char* iName, const char* iDirectory);
    // Forgets catalog iName when it is the one loaded; 0 on success.
    int UnloadMsgCatalog(const char* iName);
    // oMsg = the text of iKey; 1 when found, 0 (oMsg empty, GetError set) otherwise.
    int GetCatalogMsg(const QORString& iKey, QORMsg& oMsg) const;
    // Fallback for a missing key: the nearest wildcard entry "A.B.*" or
    // "A.*" above the key "A.B.C".  1 when one was found, else 0.
    int SubstituteCatalogMsg(const QORString& iKey, QORMsg& oMsg) const;
    // Text of the last failure.
    const QORUnicodeString& GetError() const { return _Error; }
    const QORString& GetFileName() const { return _FileName; }
    int GetNbMessages() const { return static_cast<int>(_Messages.size()); }

    // Full path of the catalog file iName along the search path, or null string.
    static QORString FindCatalogFile(const char* iName);
    // Parses catalog text; malformed entries are reported on stderr under
    // iFileName and counted in the result.
    int ParseText(const char* iText, size_t iLength, const char* iFileName);

  private:
    QORString _Name;
    QORString _FileName;
    std::unordered_map<std::string, QORMsg> _Messages;
    mutable QORUnicodeString _Error;
};

#endif
