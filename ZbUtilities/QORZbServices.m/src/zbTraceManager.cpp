#include "zbTraceManager.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "zbContext.h"
#include "zbDescriptor.h"
#include "zbErrorCodeManager.h"
#include "zbFileName.h"
#include "zbMacroSet.h"
#include "zbMsg.h"
#include "zbMsgManager.h"
#include "zbMsgTrace.h"

namespace
{
const char kParse[] = "zbTraceManager.Parse.";

// ------------------------------------------------ what signal handlers write
//
// A handler reads only the plain data of sView (constant-initialised, no
// constructor to wait for) and writes it with write(2).  The texts it points
// to are owned by SignalReports and are changed only while the prepared
// signals are held back (HoldSignals), so that a handler always finds a
// whole text matching what the trace file holds.

constexpr int kSignals = 65;

struct HandlerText
{
    const char* _Data;
    size_t _Length;
};

struct HandlerView
{
    int _Fd;    // the trace file's descriptor, -1 when none
    int _Owned; // its closing lines are this process's to write
    HandlerText _Closing;
    HandlerText _Console[kSignals];
    HandlerText _Xml[kSignals];
};

HandlerView sView = {-1, 0, {nullptr, 0}, {}, {}};
volatile sig_atomic_t sReportWritten = 0;

struct SignalReports
{
    sigset_t _Held;
    bool _Any = false;
    bool _Prepared[kSignals] = {};
    QORString _Key[kSignals];
    QORUnicodeString _Message[kSignals];
    std::string _Console[kSignals];
    std::string _Xml[kSignals];
    std::string _Closing;
    std::vector<const zbMsgTagComplex*> _ClosingTags; // the tags _Closing closes
};

// Never destroyed: the trace manager writes its file until the process ends.
SignalReports& Reports()
{
    static SignalReports* reports = new SignalReports;
    return *reports;
}

// Holds the prepared signals back for the life of the object.
class HoldSignals
{
  public:
    HoldSignals()
    {
        SignalReports& reports = Reports();
        _Active = reports._Any && ::sigprocmask(SIG_BLOCK, &reports._Held, &_Saved) == 0;
    }
    ~HoldSignals()
    {
        if (_Active)
            ::sigprocmask(SIG_SETMASK, &_Saved, nullptr);
    }
    HoldSignals(const HoldSignals&) = delete;
    HoldSignals& operator=(const HoldSignals&) = delete;

  private:
    sigset_t _Saved;
    bool _Active = false;
};

void WriteText(int iFd, const HandlerText& iText)
{
    if (iFd >= 0 && iText._Data && iText._Length)
        zbWriteAll(iFd, iText._Data, iText._Length);
}

QORString ParseKey(const char* iReason)
{
    return QORString(kParse) + iReason;
}

// The text of a macro: its words separated by blanks; 0 when the macro is
// undefined or empty.
int MacroText(const zbXmlKeysLookup& iLookup, const QORString& iName, QORString& oText)
{
    QORListValQORString words;
    if (!iLookup(iName, words))
        return 0;
    oText = "";
    for (int i = 1; i <= words.Size(); ++i)
    {
        if (i > 1)
            oText += " ";
        oText += words[i];
    }
    return oText.Length() ? 1 : 0;
}

// A number as "%d" reads it (leading blanks, a sign, digits; the rest is
// ignored), without overflow; 0 when there are no digits.
int ReadInt(const char* iText, long long& oValue)
{
    char* end = nullptr;
    errno = 0;
    oValue = std::strtoll(iText, &end, 10);
    if (end == iText)
        return 0;
    if (errno == ERANGE)
        oValue = -1; // out of range: refused like any value outside 0..2
    return 1;
}

// A non-negative number as "%u" reads it; a minus sign or a value beyond
// unsigned int is refused.
int ReadUnsigned(const char* iText, unsigned int& oValue)
{
    const char* p = iText;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f' || *p == '\v')
        ++p;
    if (*p == '+')
        ++p;
    if (*p < '0' || *p > '9')
        return 0;
    unsigned long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
    {
        value = value * 10 + static_cast<unsigned>(*p - '0');
        if (value > 0xFFFFFFFFull)
            return 0;
    }
    oValue = static_cast<unsigned int>(value);
    return 1;
}
} // namespace

zbTraceManager::zbTraceManager(const QORString& iXmlKeysFile)
    : _MsgKeys(10), _Tags(10), _XmlKeysFile(iXmlKeysFile), _XmlFileName(""), _IsOpen(0), _XmlFd(-1)
{
}

zbTraceManager::~zbTraceManager()
{
    if (_IsOpen)
        CloseOwnedFile();
    DeleteKeysAndTags();
}

int zbTraceManager::PrintLine(FILE* iStream, const QORString& iKey, const QORString* iInner,
                              const QORUnicodeString* iParams, int iCount)
{
    _Line.clear(); // kept from report to report: no allocation once grown
    if (!iStream || !zbExtContext.GetMsgMngr()->Compose(iKey, iInner, iParams, iCount, _Line))
        return 0;
    _Line += '\n';
    return WriteConsole(iStream, _Line);
}

int zbTraceManager::WriteConsole(FILE* iStream, const std::string& iText)
{
    // Whatever the stream holds goes first; an unbuffered stream (stderr)
    // writes the text with one write(2).
    std::fwrite(iText.data(), 1, iText.size(), iStream);
    return std::fflush(iStream) ? 1 : 0;
}

void zbTraceManager::ReportError(const QORString& iKey,
                                 std::initializer_list<QORUnicodeString> iParams)
{
    PrintLine(stderr, MSG_KEY_zbzbError, &iKey, iParams.begin(), static_cast<int>(iParams.size()));
}

void zbTraceManager::ReportSystError(const QORString& iName)
{
    const QORUnicodeString params[2] = {QORUnicodeString(iName), zbExtLastError.GetMsgError()};
    PrintLine(stderr, MSG_KEY_systError, nullptr, params, 2);
}

// ---------------------------------------------------------------- keys file

int zbTraceManager::LoadXmlKeys()
{
    if (!_MsgKeys.IsEmpty() || !_Tags.IsEmpty())
        return 0;
    return LoadXmlKeysFile();
}

int zbTraceManager::LoadXmlKeys(const zbXmlKeysLookup& iLookup)
{
    if (!_MsgKeys.IsEmpty() || !_Tags.IsEmpty())
        return 0;
    return ParseXmlKeys(iLookup);
}

int zbTraceManager::LoadXmlKeysFile()
{
    zbFileName file;
    if (!zbExtContext.SearchForData(_XmlKeysFile, file))
    {
        ReportError(ParseKey("NoXmlKeysFile"), {_XmlKeysFile});
        return 1;
    }
    // A file that cannot be read is reported by the macro set; it then
    // lacks the key lists, which the parser reports in turn.
    zbMacroSet set(500);
    set.InsertFile(file.GetPtrToFullname(), nullptr, '=', zbMacroSet::ReplaceExisting);
    return ParseXmlKeys([&set](const QORString& iName, QORListValQORString& oWords)
                        { return set.GetListOfValues(iName, oWords) ? 1 : 0; });
}

int zbTraceManager::ParseXmlKeys(const zbXmlKeysLookup& iLookup)
{
    QORListValQORString tagIds, msgIds;
    int hasTagIds = iLookup("KEY_TagID", tagIds);
    int hasMsgIds = iLookup("KEY_MsgID", msgIds);
    if (!hasTagIds || !hasMsgIds || !tagIds.Size() || !msgIds.Size())
    {
        ReportError(ParseKey("BadXmlKeysFileFormat"), {_XmlKeysFile, "KEY_TagID", "KEY_MsgID"});
        return 1;
    }
    if (ParseTags(iLookup, tagIds))
    {
        DeleteKeysAndTags();
        return 1;
    }
    if (ParseMsgKeys(iLookup, msgIds))
    {
        DeleteKeysAndTags();
        return 1;
    }
    return 0;
}

int zbTraceManager::ParseTags(const zbXmlKeysLookup& iLookup, const QORListValQORString& iTagIds)
{
    for (const QORString& id : iTagIds)
    {
        QORString nameMacro = "KEY_TagID_" + id + "_Name";
        QORString typeMacro = "KEY_TagID_" + id + "_Type";
        QORString name, type;
        if (!MacroText(iLookup, nameMacro, name) || !MacroText(iLookup, typeMacro, type))
        {
            ReportError(ParseKey("BadTagFormat"), {_XmlKeysFile, id, nameMacro, typeMacro});
            return 1;
        }
        // The dictionary is keyed by identifiers: a name equal to a loaded
        // identifier, and an identifier listed twice, are both refused.
        if (_Tags.Locate(name) || _Tags.Locate(id))
        {
            ReportError(ParseKey("DuplicatedTag"), {_XmlKeysFile, _Tags.Locate(name) ? name : id});
            return 1;
        }
        zbMsgTag* tag = nullptr;
        if (type == "Simple")
            tag = new zbMsgTagSimple(QORUnicodeString(name));
        else if (type == "Complex")
            tag = new zbMsgTagComplex(QORUnicodeString(name));
        else
        {
            ReportError(ParseKey("BadTagType"), {_XmlKeysFile, name, type, "Simple/Complex"});
            return 1;
        }
        _Tags.Insert(id, tag);
        QORListValQORString parameters;
        iLookup("KEY_TagID_" + id + "_ListOfParameter", parameters);
        for (const QORString& parameter : parameters)
            tag->AppendParameter(QORUnicodeString(parameter));
    }
    return 0;
}

int zbTraceManager::ParseMsgKeys(const zbXmlKeysLookup& iLookup, const QORListValQORString& iMsgIds)
{
    for (const QORString& keyText : iMsgIds)
    {
        if (_MsgKeys.Locate(keyText))
        {
            ReportError(ParseKey("DuplicatedMsg"), {_XmlKeysFile, keyText});
            return 1;
        }
        zbMsgKey* key = new zbMsgKey;
        _MsgKeys.Insert(keyText, key);

        QORString tagIdsMacro = "KEY_MsgID_" + keyText + "_ListOfTagID";
        QORString modesMacro = "KEY_MsgID_" + keyText + "_ListOfTagMode";
        QORListValQORString tagIds, modes, mappings;
        int hasTagIds = iLookup(tagIdsMacro, tagIds);
        int hasModes = iLookup(modesMacro, modes);
        if (!hasTagIds || !hasModes || tagIds.Size() != modes.Size())
        {
            ReportError(ParseKey("BadMsgFormat"), {_XmlKeysFile, keyText, tagIdsMacro, modesMacro});
            return 1;
        }
        int hasMappings = iLookup("KEY_MsgID_" + keyText + "_ListOfTagMapping", mappings);
        int cursor = 0; // mapping values used so far
        for (int i = 1; i <= tagIds.Size(); ++i)
        {
            long long mode = 0;
            if (!ReadInt(modes[i], mode) || mode < 0 || mode > 2)
            {
                ReportError(ParseKey("BadTagMode"), {_XmlKeysFile, keyText, modes[i], "0-2"});
                return 1;
            }
            const zbMsgTag* tag = _Tags.Locate(tagIds[i]);
            if (!tag)
            {
                ReportError(ParseKey("NoTagFound"), {_XmlKeysFile, keyText, tagIds[i]});
                return 1;
            }
            // Each tag that has attributes takes its mapping from the next
            // values, if enough remain; a closing tag has no attributes.
            std::vector<unsigned int> mapping;
            int count = tag->GetNumberOfParameter();
            if (hasMappings && mode != zbMsgTag::Close && count > 0 &&
                mappings.Size() - cursor >= count)
            {
                for (int j = 1; j <= count; ++j)
                {
                    unsigned int index = 0;
                    if (!ReadUnsigned(mappings[cursor + j], index))
                    {
                        ReportError(ParseKey("BadTagMapping"),
                                    {_XmlKeysFile, keyText, mappings[cursor + j], ">=0"});
                        return 1;
                    }
                    mapping.push_back(index);
                }
                cursor += count;
            }
            key->AppendMsgTagContainer(*tag, static_cast<zbMsgTag::zbMsgTagMode>(mode),
                                       mapping.empty() ? nullptr : mapping.data(),
                                       static_cast<int>(mapping.size()));
        }
    }
    return 0;
}

void zbTraceManager::DeleteKeysAndTags()
{
    _MsgKeys.ApplyDelete();
    // A complex tag left open must not stay behind in the open list.
    QORHashCodeIter it(_Tags);
    while (void* tag = it.Next())
        zbMsgTagComplex::_ListOfzbMsgTagComplex.RemoveValue(
            dynamic_cast<zbMsgTagComplex*>(static_cast<zbMsgTag*>(tag)));
    _Tags.ApplyDelete();
}

// ---------------------------------------------------------------- XML file

int zbTraceManager::OpenDescriptor(const QORString& iFileName, const int& iAppend)
{
    // Close-on-exec (zbOpenFd): children never hold the trace.  Only the
    // process that opened it writes its closing lines (a forked child that
    // ends through exit leaves it alone).
    _WriteError = 0;
    _OwnerPid = static_cast<int>(::getpid());
    int flags = O_WRONLY | O_CREAT | O_SYNC | O_LARGEFILE | (iAppend ? O_APPEND : O_TRUNC);
    return zbOpenFd(iFileName.CastToCharPtr(), flags, 0666);
}

int zbTraceManager::WriteBytes(const char* iBuffer, size_t iLength)
{
    HoldSignals hold;
    int error = zbWriteAll(_XmlFd, iBuffer, iLength);
    UpdateSignalTexts();
    if (!error)
        return 0;
    zbExtLastError.SetErrno(error);
    if (!_WriteError)
        _WriteError = error;
    return 1;
}

int zbTraceManager::WriteUTF8(const QORUnicodeString& iText)
{
    std::string bytes = iText.ConvertToUTF8();
    return WriteBytes(bytes.data(), bytes.size());
}

int zbTraceManager::SetXmlFileName(const QORString* iFileName, const char* iApplicationName,
                                   const int& iAppend)
{
    if (LoadXmlKeys())
        return 0;
    if (CloseXmlFile())
        ReportSystError(_XmlFileName);
    if (!iFileName)
        return 0;
    // A handler finds either no file or the opening lines with the
    // reports' XML lines.
    HoldSignals hold;
    _XmlFd = OpenDescriptor(*iFileName, iAppend);
    if (_XmlFd < 0)
    {
        _IsOpen = 0;
        zbExtLastError.SetErrno(errno);
        ReportSystError(*iFileName);
        return 0;
    }
    _IsOpen = 1;
    _XmlFileName = *iFileName;

    QORUnicodeString head;
    if (!iAppend)
        head.Append("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n");
    auto attribute = [&head](const char* iPiece, const QORUnicodeString& iValue)
    {
        QORUnicodeString value(iValue);
        head.Append(iPiece).Append(zbMsgTag::Transcode(value)).Append("\"");
    };
    if (iApplicationName)
        attribute("<Application Name=\"", QORUnicodeString(iApplicationName));
    else
        head.Append("<Application");
    QORUnicodeString bitMode;
    bitMode.BuildFromNum(zbExtContext.OSBitMode(), "%lld");
    attribute(" ZbzbOS_Type=\"", QORUnicodeString(zbExtContext.OSType()));
    attribute(" ZbzbOS_NAME=\"", QORUnicodeString(zbExtContext.OSNAME()));
    attribute(" ZbzbOS_Buildtime=\"", QORUnicodeString(zbExtContext.OSBuildtime()));
    attribute(" ZbzbOS_BitMode=\"", bitMode);
    head.Append(">\n");
    WriteUTF8(head);
    UpdateSignalTexts(1);
    return 1;
}

int zbTraceManager::SetXmlFileDescriptor(const int* iFd, const char* iName)
{
    if (LoadXmlKeys())
        return 0;
    if (CloseXmlFile())
        ReportSystError(_XmlFileName);
    if (!iFd || *iFd == -1)
        return 0;
    _XmlFd = *iFd;
    _XmlFileName = iName ? iName : "";
    _WriteError = 0;
    HoldSignals hold;
    UpdateSignalTexts(1);
    return 1;
}

int zbTraceManager::OpenXmlFile(const QORString& iFileName, const int& iAppend)
{
    // A descriptor opened here before is let go first, not leaked.
    if (_IsOpen && _XmlFd >= 0)
        ::close(_XmlFd);
    _XmlFd = OpenDescriptor(iFileName, iAppend);
    if (_XmlFd < 0)
    {
        _IsOpen = 0;
        zbExtLastError.SetErrno(errno);
        return 1;
    }
    _IsOpen = 1;
    HoldSignals hold;
    UpdateSignalTexts(1);
    return 0;
}

int zbTraceManager::CloseOwnedFile()
{
    HoldSignals hold;
    QORUnicodeString closing;
    QORListPtrzbMsgTagComplex& open = zbMsgTagComplex::_ListOfzbMsgTagComplex;
    QORListValQORUnicodeString noValues;
    while (open.Size())
        closing.Append(open[open.Size()]->GetMsg(noValues, zbMsgTag::Close)).Append("\n");
    closing.Append("</Application>\n");
    if (static_cast<int>(::getpid()) == _OwnerPid)
        WriteUTF8(closing);
    _IsOpen = 0;
    int failed = ::close(_XmlFd) != 0;
    if (failed)
        zbExtLastError.SetErrno(errno);
    _XmlFd = -1;
    UpdateSignalTexts();
    return failed;
}

int zbTraceManager::CloseXmlFile()
{
    if (!_IsOpen)
    {
        HoldSignals hold;
        _XmlFd = -1;
        UpdateSignalTexts();
        return 0;
    }
    return CloseOwnedFile();
}

// ---------------------------------------------------------------- signals

void zbTraceManager::PrepareSignalReport(int iSignal, const zbKeyForTraceManager& iKey,
                                         const QORUnicodeString& iMessage)
{
    if (iSignal <= 0 || iSignal >= kSignals)
        return;
    SignalReports& reports = Reports();
    HoldSignals hold; // the signals prepared before
    if (!reports._Any)
        sigemptyset(&reports._Held);
    reports._Any = true;
    sigaddset(&reports._Held, iSignal);
    reports._Prepared[iSignal] = true;
    reports._Key[iSignal] = iKey;
    reports._Message[iSignal] = iMessage;
    std::string& console = reports._Console[iSignal];
    console.clear();
    if (zbExtContext.GetMsgMngr()->Compose(iKey, nullptr, &iMessage, 1, console))
        console += '\n';
    sView._Console[iSignal] = {reports._Console[iSignal].data(), reports._Console[iSignal].size()};
    UpdateSignalTexts(1);
}

void zbTraceManager::UpdateSignalTexts(int iReports)
{
    // The handlers write the file of the context's trace manager only.
    SignalReports& reports = Reports();
    if (!reports._Any || this != zbExtContext.GetTraceMngr())
        return;
    sView._Fd = _XmlFd;
    sView._Owned = _IsOpen;

    // The closing lines, rebuilt when the open complex tags changed.
    QORListPtrzbMsgTagComplex& open = zbMsgTagComplex::_ListOfzbMsgTagComplex;
    std::vector<const zbMsgTagComplex*> tags;
    for (const zbMsgTagComplex* tag : open)
        tags.push_back(tag);
    if (tags != reports._ClosingTags || reports._Closing.empty())
    {
        QORUnicodeString closing;
        for (size_t i = tags.size(); i-- > 0;)
            closing.Append("</").Append(*tags[i]).Append(">\n");
        closing.Append("</Application>\n");
        reports._Closing = closing.ConvertToUTF8();
        reports._ClosingTags = tags;
        sView._Closing = {reports._Closing.data(), reports._Closing.size()};
    }
    if (!iReports)
        return;

    // The XML line of each report as the keys file gives it.  Building it
    // must not change the open tags: a complex tag it opens is closed
    // right after it.
    for (int sig = 1; sig < kSignals; ++sig)
    {
        if (!reports._Prepared[sig])
            continue;
        reports._Xml[sig].clear();
        const zbMsgKey* key = _XmlFd >= 0 ? _MsgKeys.Locate(reports._Key[sig]) : nullptr;
        if (key)
        {
            QORUnicodeString params[1] = {reports._Message[sig]};
            QORUnicodeString xml = key->GetMsg(params, 1);
            for (int i = open.Size(); i > static_cast<int>(tags.size()); --i)
                xml.Append("</").Append(*open[i]).Append(">\n");
            open.Size(0);
            for (const zbMsgTagComplex* tag : tags)
                open.Append(const_cast<zbMsgTagComplex*>(tag));
            reports._Xml[sig] = xml.ConvertToUTF8();
        }
        sView._Xml[sig] = {reports._Xml[sig].data(), reports._Xml[sig].size()};
    }
}

void zbTraceManager::WriteSignalReport(int iSignal)
{
    if (iSignal <= 0 || iSignal >= kSignals || sReportWritten)
        return;
    sReportWritten = 1;
    WriteText(2, sView._Console[iSignal]);
    WriteText(sView._Fd, sView._Xml[iSignal]);
    if (sView._Owned)
        WriteText(sView._Fd, sView._Closing);
}

// ---------------------------------------------------------------- writing

int zbTraceManager::Write(const char* iBuffer, const unsigned int& iLength)
{
    if (_XmlFd < 0 || !iLength || !iBuffer)
        return 0;
    return WriteBytes(iBuffer, iLength);
}

int zbTraceManager::Write(const int& iTranscode, QORUnicodeString& ioText)
{
    if (_XmlFd < 0 || ioText.IsEmpty())
        return 0;
    if (iTranscode)
        zbMsgTag::Transcode(ioText);
    return WriteUTF8(ioText);
}

int zbTraceManager::PrintXml(const char* iBuffer, const unsigned int& iLength)
{
    if (!Write(iBuffer, iLength))
        return 0;
    ReportSystError(_XmlFileName);
    return 1;
}

int zbTraceManager::Print(FILE* iStream, QORUnicodeString& ioText)
{
    if (iStream && !ioText.IsEmpty())
    {
        std::string text = ioText.ConvertToUTF8();
        WriteConsole(iStream, text.substr(0, text.find('\0')));
    }
    if (!Write(1, ioText))
        return 0;
    ReportSystError(_XmlFileName);
    return 1;
}

int zbTraceManager::Report(const zbKeyForTraceManager& iKey, FILE* iStream, const QORString* iInner,
                           const QORUnicodeString* iParams, int iCount)
{
    PrintLine(iStream, iKey, iInner, iParams, iCount);
    if (_XmlFd < 0)
        return 0;
    const zbMsgKey* key = _MsgKeys.Locate(iKey);
    if (!key)
    {
        ReportError("zbTraceManager.NoMsgKey", {iKey, _XmlKeysFile});
        return 1;
    }
    // The key's XML form takes the message of an inner key as its one
    // parameter.  Building it does not change the parameters.
    QORUnicodeString inner;
    if (iInner)
        inner = zbExtContext.GetMsgMngr()->GetMsg(*iInner, const_cast<QORUnicodeString*>(iParams),
                                                  iCount);
    QORUnicodeString xml = iInner ? key->GetMsg(&inner, 1)
                                  : key->GetMsg(const_cast<QORUnicodeString*>(iParams), iCount);
    if (!xml.IsEmpty() && WriteUTF8(xml))
    {
        ReportSystError(_XmlFileName);
        return 1;
    }
    return 0;
}

int zbTraceManager::Print(const zbKeyForTraceManager& iKey, FILE* iStream,
                          QORUnicodeString* iParams, const int& iCount)
{
    return Report(iKey, iStream, nullptr, iParams, iCount);
}

int zbTraceManager::PrintMessage(const zbKeyForTraceManager& iKey, FILE* iStream,
                                 const QORString& iMessageKey, const QORUnicodeString* iParams,
                                 int iCount)
{
    return Report(iKey, iStream, &iMessageKey, iParams, iCount);
}

int zbTraceManager::Print(const zbKeyForTraceManager& iKey, FILE* iStream,
                          const QORUnicodeString& iP1)
{
    QORUnicodeString params[1] = {iP1};
    return Print(iKey, iStream, params, 1);
}

int zbTraceManager::Print(const zbKeyForTraceManager& iKey, FILE* iStream,
                          const QORUnicodeString& iP1, const QORUnicodeString& iP2)
{
    QORUnicodeString params[2] = {iP1, iP2};
    return Print(iKey, iStream, params, 2);
}

int zbTraceManager::Print(const zbKeyForTraceManager& iKey, FILE* iStream, zbMsg& iMessage)
{
    return Print(iKey, iStream, iMessage.GetTabMsg(), iMessage.GetTabMsgSize());
}

int zbTraceManager::PrintWithId(const zbKeyForTraceManagerWithId& iKey, FILE* iStream,
                                const QORUnicodeString& iId, QORUnicodeString* iParams,
                                const int& iCount)
{
    int count = iCount > 0 && iParams ? iCount : 0;
    std::vector<QORUnicodeString> params;
    params.reserve(static_cast<size_t>(count) + 1);
    params.push_back(iId);
    for (int i = 0; i < count; ++i)
        params.push_back(iParams[i]);
    return Print(zbKeyForTraceManager(iKey), iStream, params.data(), count + 1);
}

zbMsgTrace* zbTraceManager::GetMsg(const zbKeyForTraceManager& iKey, FILE* iStream,
                                   const QORUnicodeString& iP1)
{
    QORUnicodeString params[1] = {iP1};
    return new zbMsgTrace(iKey, iStream, params, 1);
}

zbMsgTrace* zbTraceManager::GetMsg(const zbKeyForTraceManager& iKey, FILE* iStream,
                                   const QORUnicodeString& iP1, const QORUnicodeString& iP2)
{
    QORUnicodeString params[2] = {iP1, iP2};
    return new zbMsgTrace(iKey, iStream, params, 2);
}

zbMsgTrace* zbTraceManager::GetMsg(const zbKeyForTraceManager& iKey, FILE* iStream,
                                   QORUnicodeString* iParams, const int& iCount)
{
    return new zbMsgTrace(iKey, iStream, iParams, iCount);
}
