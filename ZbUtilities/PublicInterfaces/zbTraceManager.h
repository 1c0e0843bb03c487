#ifndef zbTraceManager_H
#define zbTraceManager_H
// Where every report ends up: a catalog message under an outer key, printed
// on a console stream and, when an XML trace file is active, written to it
// in the XML form the keys file declares for the key.
//
// The XML trace file (UTF-8):
//   <?xml version="1.0" encoding="utf-8"?>           (not when appending)
//   <Application Name="APP" ZbzbOS_Type="T" ZbzbOS_NAME="N" ZbzbOS_Buildtime="B"
//    ZbzbOS_BitMode="64">                             (one line; Name only when given)
//   one line per report, as the keys file declares it
//   </Tag>                                            (each complex tag still open, newest first)
//   </Application>
// Every text from a parameter is escaped (zbMsgTag::Transcode), so that the
// file is well-formed UTF-8 whatever the reports hold.
//
// The keys file "zbXmlKeys.mk" declares tags and message keys as macros:
//   KEY_TagID                        tag identifiers
//   KEY_TagID_<ID>_Name              element name
//   KEY_TagID_<ID>_Type              Simple or Complex
//   KEY_TagID_<ID>_ListOfParameter   attribute names (optional)
//   KEY_MsgID                        message keys
//   KEY_MsgID_<KEY>_ListOfTagID      tags to write, in order
//   KEY_MsgID_<KEY>_ListOfTagMode    one mode (0 to 2) per tag
//   KEY_MsgID_<KEY>_ListOfTagMapping parameter indexes (from 0) for the
//                                    attributes of the tags, in order (optional)

#include <cstdio>
#include <functional>
#include <initializer_list>
#include <string>

#include "QORHashDicS.h"
#include "QORString.h"
#include "QORUnicodeString.h"
#include "zbKeyForTraceManager.h"
#include "zbMsgKey.h"
#include "zbMsgTag.h"

class zbMsg;
class zbMsgTrace;

using QORHashDicSzbMsgKey = QORHashDicS<zbMsgKey>;
using QORHashDicSzbMsgTag = QORHashDicS<zbMsgTag>;

// Where the keys loader reads the macros of a keys file: appends the words
// of macro iName to oWords and returns 1, or returns 0 when the macro is
// not defined.
using zbXmlKeysLookup = std::function<int(const QORString& iName, QORListValQORString& oWords)>;

class zbTraceManager
{
  public:
    explicit zbTraceManager(const QORString& iXmlKeysFile);
    // Closes an XML trace file opened by name (closing lines written).
    virtual ~zbTraceManager();
    zbTraceManager(const zbTraceManager&) = delete;
    zbTraceManager& operator=(const zbTraceManager&) = delete;

    // Loads the keys file once; 0 when loaded (now or before), 1 after a
    // reported failure.
    int LoadXmlKeys();
    // The same from the macros iLookup gives (0 at once when keys are
    // already loaded).  Every failure is reported on stderr and leaves no
    // key and no tag.
    int LoadXmlKeys(const zbXmlKeysLookup& iLookup);

    // Loads the keys, closes the current file, opens iFileName (appending
    // or truncating) and writes its opening lines.  1 when the file is now
    // open, else 0 (failures reported).
    int SetXmlFileName(const QORString* iFileName, const char* iApplicationName,
                       const int& iAppend);
    // Writes into a descriptor opened by someone else (typically a parent
    // process): nothing is written at the start, and closing neither
    // writes the closing lines nor closes it.  1 when active, else 0.
    int SetXmlFileDescriptor(const int* iFd, const char* iName);
    // Opens iFileName without writing anything and without changing the
    // file name; 0 on success, 1 on failure (errno stored, not printed).
    int OpenXmlFile(const QORString& iFileName, const int& iAppend);
    // Writes the closing lines and closes a file opened here; forgets a
    // borrowed descriptor.  1 when close failed (errno stored), else 0.
    int CloseXmlFile();

    // Raw bytes into the XML file; 1 when write failed (errno stored).
    int Write(const char* iBuffer, const unsigned int& iLength);
    // ioText into the XML file, escaped in place first when iTranscode.
    int Write(const int& iTranscode, QORUnicodeString& ioText);
    // As Write, but a failure is also reported on stderr.
    int PrintXml(const char* iBuffer, const unsigned int& iLength);

    // Free text: printed as is on iStream (no newline added), escaped into
    // the XML file (ioText holds the escaped form afterwards).
    int Print(FILE* iStream, QORUnicodeString& ioText);
    // The main report: the catalog message iKey with the parameters, one
    // line on iStream (when non-null), its XML form in the trace file.
    int Print(const zbKeyForTraceManager& iKey, FILE* iStream, QORUnicodeString* iParams,
              const int& iCount);
    int Print(const zbKeyForTraceManager& iKey, FILE* iStream, const QORUnicodeString& iP1);
    int Print(const zbKeyForTraceManager& iKey, FILE* iStream, const QORUnicodeString& iP1,
              const QORUnicodeString& iP2);
    int Print(const zbKeyForTraceManager& iKey, FILE* iStream, zbMsg& iMessage);
    // The same whose one parameter is the catalog message iMessageKey with
    // the parameters (a place without one shows "???").
    int PrintMessage(const zbKeyForTraceManager& iKey, FILE* iStream, const QORString& iMessageKey,
                     const QORUnicodeString* iParams, int iCount);
    // The parameters become iId followed by the iCount parameters.
    int PrintWithId(const zbKeyForTraceManagerWithId& iKey, FILE* iStream,
                    const QORUnicodeString& iId, QORUnicodeString* iParams, const int& iCount);

    // Reports prepared now, printed later with zbMsgTrace::Print; the
    // caller deletes them.
    zbMsgTrace* GetMsg(const zbKeyForTraceManager& iKey, FILE* iStream,
                       const QORUnicodeString& iP1);
    zbMsgTrace* GetMsg(const zbKeyForTraceManager& iKey, FILE* iStream, const QORUnicodeString& iP1,
                       const QORUnicodeString& iP2);
    zbMsgTrace* GetMsg(const zbKeyForTraceManager& iKey, FILE* iStream, QORUnicodeString* iParams,
                       const int& iCount);

    // Reports written from a signal handler.  PrepareSignalReport builds
    // now the console line and the XML line of the report iKey with
    // iMessage for the signal iSignal (its XML line again whenever a trace
    // file is opened later), and from then on holds the signal back while
    // the trace file is written, so that a handler never meets half a
    // report.  WriteSignalReport is async-signal-safe: it writes those lines
    // and the closing lines of the trace file (kept current as complex tags
    // open and close) with write(2), allocating nothing and taking no lock;
    // the trace file is left alone afterwards.
    void PrepareSignalReport(int iSignal, const zbKeyForTraceManager& iKey,
                             const QORUnicodeString& iMessage);
    static void WriteSignalReport(int iSignal);

    const QORString& GetXmlKeysFile() const { return _XmlKeysFile; }
    const QORString& GetXmlFileName() const { return _XmlFileName; }
    int GetXmlFd() const { return _XmlFd; }
    // The errno of the first write to the XML file that failed or came
    // short since it was opened (0: every write went through).  A write
    // failure is recorded, never printed nor fatal: the tool decides.
    int GetWriteError() const { return _WriteError; }
    const zbMsgKey* GetMsgKey(const QORString& iKey) const { return _MsgKeys.Locate(iKey); }
    const zbMsgTag* GetTag(const QORString& iId) const { return _Tags.Locate(iId); }

  private:
    // Finds the keys file along the data search path and reads it as a
    // macro set, then parses it.
    int LoadXmlKeysFile();
    int ParseXmlKeys(const zbXmlKeysLookup& iLookup);
    int ParseTags(const zbXmlKeysLookup& iLookup, const QORListValQORString& iTagIds);
    int ParseMsgKeys(const zbXmlKeysLookup& iLookup, const QORListValQORString& iMsgIds);
    void DeleteKeysAndTags();
    // Opens the file; the descriptor or -1 (errno kept).
    int OpenDescriptor(const QORString& iFileName, const int& iAppend);
    // One write of the whole buffer (continued after a partial write);
    // 1 with errno stored on failure.
    int WriteBytes(const char* iBuffer, size_t iLength);
    int WriteUTF8(const QORUnicodeString& iText);
    // The closing lines, written; the descriptor closed.
    int CloseOwnedFile();
    // Brings what the signal handlers write up to date with the file:
    // the descriptor, the closing lines, the XML lines of the reports.
    void UpdateSignalTexts(int iReports = 0);
    // The one place where a report is put together and written: its console
    // line on iStream (when non-null) and its XML form in the trace file.
    // The parameters go to iKey's message, or with iInner to the message
    // iInner, which is then iKey's one parameter.
    int Report(const zbKeyForTraceManager& iKey, FILE* iStream, const QORString* iInner,
               const QORUnicodeString* iParams, int iCount);
    // The console line of such a report alone (nothing when it is empty);
    // 1 when the stream failed.
    int PrintLine(FILE* iStream, const QORString& iKey, const QORString* iInner,
                  const QORUnicodeString* iParams, int iCount);
    static int WriteConsole(FILE* iStream, const std::string& iText);
    // On stderr: the message iKey with iParams under "zbzbError"; "systError"
    // on iName with the text of the last stored error.
    void ReportError(const QORString& iKey, std::initializer_list<QORUnicodeString> iParams);
    void ReportSystError(const QORString& iName);

    QORHashDicSzbMsgKey _MsgKeys;
    QORHashDicSzbMsgTag _Tags;
    QORString _XmlKeysFile;
    QORString _XmlFileName;
    int _IsOpen;
    int _XmlFd;
    int _OwnerPid = 0; // the process that opened the file
    int _WriteError = 0;
    std::string _Line; // the console line being written
};

#endif
