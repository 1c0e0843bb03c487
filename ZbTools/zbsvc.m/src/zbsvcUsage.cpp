// The usage of zbsvc and of its verbs, as text (-h, help, usage errors) or
// as the items of the manual page, from the verb tables and the switches
// each verb declares.

#include <cstring>
#include <string>
#include <vector>

#include "zbOFStream.h"
#include "zbsvcVerbs.h"

namespace
{
// Set while every verb's usage goes to another page (the manual page, the
// completion): a verb's -h then hands its row and switches to it.
zbsvcRowPrinter sRowPrinter = nullptr;

// The row of a program name ("zbsvc block pack"), with its path after
// "zbsvc " ("block pack"); null when no row has that name.
const zbsvcVerb* FindRow(const char* iProgram, std::string& oPath)
{
    const char* p = iProgram;
    if (!std::strncmp(p, "zbsvc ", 6))
        p += 6;
    oPath = p;
    const zbsvcVerb* table = zbsvcVerbs;
    const zbsvcVerb* row = nullptr;
    while (*p && table)
    {
        size_t length = std::strcspn(p, " ");
        row = nullptr;
        for (const zbsvcVerb* verb = table; verb->_Name && !row; ++verb)
            if (std::strlen(verb->_Name) == length && !std::strncmp(verb->_Name, p, length))
                row = verb;
        if (!row)
            return nullptr;
        table = row->_SubVerbs;
        p += length;
        while (*p == ' ')
            ++p;
    }
    return *p ? nullptr : row;
}

// The text for roff: minus signs and backslashes escaped, a line never
// starting with a control character.
std::string Roff(const std::string& iText)
{
    std::string text = !iText.empty() && (iText[0] == '.' || iText[0] == '\'') ? "\\&" : "";
    for (char c : iText)
        text += c == '-' ? std::string("\\-") : c == '\\' ? std::string("\\e") : std::string(1, c);
    return text;
}

std::string SwitchName(const zbGetoptsSwitchBase& iSwitch)
{
    return std::string("-") + iSwitch.GetName().CastToCharPtr();
}

void PrintSwitches(zbOFStream& oStream, const zbsvcOptions& iOptions)
{
    for (int i = 1; const zbGetoptsSwitchBase* option = iOptions.GetSwitch(i); ++i)
    {
        std::string name = SwitchName(*option);
        if (name == "--help")
            continue; // shown with -h
        if (name == "-h")
            name = "-h, --help";
        if (zbsvcOptions::IsValued(*option))
            name += std::string(" ") + iOptions.GetValueName(*option);
        oStream.Print("   %s : %s\n", name.c_str(), option->GetHelpLabel().CastToCharPtr());
    }
}

// The item of one verb in the manual page: its synopsis, summary and switches.
void PrintManualItem(zbOFStream& oStream, const std::string& iPath, const zbsvcVerb& iRow,
                     const zbsvcOptions& iOptions)
{
    oStream.Print(".TP\n\\fBzbsvc %s\\fR %s\n%s\n", Roff(iPath).c_str(),
                  Roff(iRow._Synopsis).c_str(), Roff(iRow._Summary).c_str());
    bool any = false;
    for (int i = 1; const zbGetoptsSwitchBase* option = iOptions.GetSwitch(i); ++i)
    {
        std::string name = SwitchName(*option);
        if (name == "-h" || name == "--help")
            continue; // every verb has them: said once in the description
        if (!any)
            oStream.Print(".RS\n");
        any = true;
        std::string item = "\\fB" + Roff(name) + "\\fR";
        if (zbsvcOptions::IsValued(*option))
            item += " \\fI" + Roff(iOptions.GetValueName(*option)) + "\\fR";
        oStream.Print(".TP\n%s\n%s\n", item.c_str(),
                      Roff(option->GetHelpLabel().CastToCharPtr()).c_str());
    }
    if (any)
        oStream.Print(".RE\n");
}

// The verbs of a table, one line of synopsis and one of summary each; a
// verb with sub-verbs shows each of them instead.
void PrintRows(zbOFStream& oStream, const std::string& iPrefix, const zbsvcVerb* iTable)
{
    for (const zbsvcVerb* verb = iTable; verb->_Name; ++verb)
    {
        std::string name = iPrefix + verb->_Name;
        if (verb->_SubVerbs)
            PrintRows(oStream, name + " ", verb->_SubVerbs);
        else
            oStream.Print("   %s %s\n       %s\n", name.c_str(), verb->_Synopsis, verb->_Summary);
    }
}
} // namespace

void zbsvcPrintUsage(zbOFStream& oStream, const zbsvcOptions& iOptions)
{
    std::string path;
    const zbsvcVerb* row = FindRow(iOptions.GetArgv0(), path);
    if (sRowPrinter)
    {
        if (row)
            sRowPrinter(oStream, path, *row, iOptions);
        return;
    }
    if (row)
        oStream.Print("usage: zbsvc %s %s\n   %s\n", path.c_str(), row->_Synopsis, row->_Summary);
    else
        oStream.Print("usage: %s [SWITCHES] [ARGUMENTS]\n", iOptions.GetArgv0());
    PrintSwitches(oStream, iOptions);
}

void zbsvcPrintTableUsage(zbOFStream& oStream, const char* iProgram, const zbsvcVerb* iTable,
                          const zbsvcOptions* iOptions)
{
    std::string path;
    const zbsvcVerb* row = FindRow(iProgram, path);
    if (row)
        oStream.Print("usage: zbsvc %s %s\n   %s\n", path.c_str(), row->_Synopsis, row->_Summary);
    else
        oStream.Print("usage: %s [SWITCHES] VERB [ARGUMENTS]\n", iProgram);
    if (iOptions)
        PrintSwitches(oStream, *iOptions);
    oStream.Print("%s (zbsvc help %sVERB: the switches of one):\n", row ? "sub-verbs" : "verbs",
                  row ? (path + " ").c_str() : "");
    PrintRows(oStream, row ? path + " " : "", iTable);
    if (!row)
        zbsvcPrintEnvironment(oStream);
}

int zbsvcUsageError(const zbsvcOptions& iOptions, const char* iText)
{
    const char* program = iOptions.GetArgv0();
    if (iText)
        zbStderr.Print("%s: %s\n", program, iText);
    // "zbsvc block pack" -> "zbsvc help block pack"; help's own: "zbsvc help".
    const char* path = !std::strncmp(program, "zbsvc ", 6) && std::strcmp(program, "zbsvc help")
                           ? program + 6
                           : "";
    zbStderr.Print("Try 'zbsvc help%s%s'.\n", *path ? " " : "", path);
    return 2;
}

void zbsvcForEachVerb(zbsvcRowPrinter iPrinter)
{
    sRowPrinter = iPrinter;
    for (const zbsvcVerb* verb = zbsvcVerbs; verb->_Name; ++verb)
    {
        std::vector<const zbsvcVerb*> leaves;
        for (const zbsvcVerb* sub = verb->_SubVerbs; sub && sub->_Name; ++sub)
            leaves.push_back(sub);
        if (leaves.empty())
            leaves.push_back(nullptr);
        for (const zbsvcVerb* sub : leaves)
        {
            std::vector<char*> args;
            args.push_back(const_cast<char*>(verb->_Name));
            if (sub)
                args.push_back(const_cast<char*>(sub->_Name));
            args.push_back(const_cast<char*>("-h"));
            verb->_Run(static_cast<int>(args.size()), args.data());
        }
    }
    sRowPrinter = nullptr;
}

int zbsvcPrintManual(zbOFStream& oStream, const zbsvcOptions& iMainOptions)
{
    oStream.Print(".TH ZBSVC 1 2026 \"zbsvc %s\" \"User Commands\"\n", ZBSVC_VERSION);
    oStream.Print(".SH NAME\nzbsvc \\- command\\-line front end of the services library\n");
    oStream.Print(".SH SYNOPSIS\n"
                  "\\fBzbsvc\\fR [\\fISWITCHES\\fR] \\fIVERB\\fR [\\fIARGUMENTS\\fR]\n.br\n"
                  "\\fBzbsvc help\\fR [\\fIVERB\\fR [\\fISUB\\-VERB\\fR]]\n.br\n"
                  "\\fBzbsvc \\-\\-version\\fR\n");
    oStream.Print(
        ".SH DESCRIPTION\n"
        "\\fBzbsvc\\fR runs one verb of the services library of the build tool.\n"
        "The library reads its build context from the environment (see ENVIRONMENT).\n"
        "Every verb takes \\fB\\-h\\fR (or \\fB\\-\\-help\\fR): its usage on standard output.\n"
        "\\fB\\-\\-\\fR ends the switches of zbsvc and of a verb; \\fB\\-\\fR names standard "
        "input\n"
        "wherever a verb reads a file.\n");
    oStream.Print(".SH SWITCHES\n");
    for (int i = 1; const zbGetoptsSwitchBase* option = iMainOptions.GetSwitch(i); ++i)
    {
        std::string name = SwitchName(*option);
        if (name == "-h" || name == "--help")
            continue;
        std::string item = "\\fB" + Roff(name) + "\\fR";
        if (zbsvcOptions::IsValued(*option))
            item += " \\fI" + Roff(iMainOptions.GetValueName(*option)) + "\\fR";
        oStream.Print(".TP\n%s\n%s\n", item.c_str(),
                      Roff(option->GetHelpLabel().CastToCharPtr()).c_str());
    }
    oStream.Print(".SH VERBS\n");
    zbsvcForEachVerb(PrintManualItem);
    zbsvcPrintManualEnvironment(oStream);
    oStream.Print(".SH EXIT STATUS\n"
                  "0 on success; 1 after a failure, reported on standard error (a write error on\n"
                  "standard output or on the XML trace file is one); 2 after a usage error; the\n"
                  "signal's number after SIGINT or SIGTERM once the signal traps are set\n"
                  "(with \\fB\\-xml\\fR).\n");
    return 0;
}
