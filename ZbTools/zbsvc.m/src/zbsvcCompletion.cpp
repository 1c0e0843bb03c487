// The bash completion of zbsvc (zbsvc --completion, written at build time),
// printed from the verb tables and the switches each verb declares: verbs,
// sub-verbs, switches, the values of switches that name files or
// directories or list their choices ("0|1|2"), and file names where a verb
// takes files.
//
// The script holds one row per verb path ("", "block", "block pack",
// "help block") in _zbsvc_row, which sets subs, switches, valued and files,
// and one line per completed switch value in _zbsvc_value; _zbsvc walks the
// words before the cursor along the paths, then completes from the row.

#include <cstring>
#include <string>

#include "zbOFStream.h"
#include "zbsvcVerbs.h"

namespace
{
// Value names and argument words that stand for a file, or a directory.
const char* const kFileWords[] = {"FILE",     "OUT", "IN",  "LISTFILE", "MAPFILE",
                                  "DATAFILE", "OLD", "NEW", "SRC"};
const char* const kDirectoryWords[] = {"DIR", "WS", "FW", "A", "B", "DSTDIR"};

template <size_t N> bool OneOf(const std::string& iWord, const char* const (&iWords)[N])
{
    for (const char* word : iWords)
        if (iWord == word)
            return true;
    return false;
}

// Whether the arguments of a synopsis (its switch groups "[-x ...]" left
// out) name a file or a directory: "FILE ...", "IN OUT", "[+]WS=LISTFILE".
bool TakesFiles(const char* iSynopsis)
{
    std::string words;
    for (const char* p = iSynopsis; *p; ++p)
        if (p[0] == '[' && p[1] == '-')
            p = std::strchr(p, ']') ? std::strchr(p, ']') : p + std::strlen(p) - 1;
        else
            words += *p;
    std::string word;
    for (char c : words + " ")
        if (c == '_' || (c >= 'A' && c <= 'Z'))
            word += c;
        else if (!word.empty())
        {
            if (OneOf(word, kFileWords) || OneOf(word, kDirectoryWords))
                return true;
            word.clear();
        }
    return false;
}

// The bash words that complete the value of a switch, or empty.
std::string ValueCompletion(const std::string& iValueName)
{
    if (OneOf(iValueName, kFileWords))
        return "_zbsvc_files -f";
    if (OneOf(iValueName, kDirectoryWords) || iValueName == "DIR:DIR")
        return "_zbsvc_files -d";
    if (iValueName.find('|') == std::string::npos)
        return "";
    std::string choices = iValueName;
    for (char& c : choices)
        c = c == '|' ? ' ' : c;
    return "_zbsvc_words '" + choices + "'";
}

// The rows and the value lines are printed in two passes over the verbs.
bool sValues = false;

void PrintRow(zbOFStream& oStream, const std::string& iPath, const zbsvcOptions& iOptions,
              const zbsvcVerb* iSubs, bool iFiles)
{
    std::string switches, valued, values;
    for (int i = 1; const zbGetoptsSwitchBase* option = iOptions.GetSwitch(i); ++i)
    {
        const std::string name = std::string("-") + option->GetName().CastToCharPtr();
        switches += (switches.empty() ? "" : " ") + name;
        if (!zbsvcOptions::IsValued(*option))
            continue;
        valued += (valued.empty() ? "" : " ") + name;
        const std::string completion = ValueCompletion(iOptions.GetValueName(*option));
        if (!completion.empty())
            values += "    '" + iPath + "|" + name + "') " + completion + " ;;\n";
    }
    if (sValues)
    {
        oStream.Puts(values.c_str());
        return;
    }
    std::string subs;
    for (const zbsvcVerb* sub = iSubs; sub && sub->_Name; ++sub)
        subs += (subs.empty() ? "" : " ") + std::string(sub->_Name);
    oStream.Print("    '%s') subs='%s' switches='%s' valued='%s' files=%s ;;\n", iPath.c_str(),
                  subs.c_str(), switches.c_str(), valued.c_str(), iFiles ? "1" : "");
}

// A verb's row; help takes a verb, then a sub-verb (rows "help block").
void PrintVerbRow(zbOFStream& oStream, const std::string& iPath, const zbsvcVerb& iRow,
                  const zbsvcOptions& iOptions)
{
    PrintRow(oStream, iPath, iOptions, iPath == "help" ? zbsvcVerbs : nullptr,
             TakesFiles(iRow._Synopsis));
}

// The rows of the verbs made of sub-verbs, which have no switches of their
// own but -h, and of help followed by one of them.
void PrintTableRows(zbOFStream& oStream)
{
    zbsvcOptions help("zbsvc help");
    help.DeclareSwitch("h", "");
    help.DeclareSwitch("--help", "");
    for (const zbsvcVerb* verb = zbsvcVerbs; verb->_Name; ++verb)
        if (verb->_SubVerbs)
        {
            PrintRow(oStream, verb->_Name, help, verb->_SubVerbs, false);
            PrintRow(oStream, std::string("help ") + verb->_Name, help, verb->_SubVerbs, false);
        }
}

const char kFunctions[] = R"(_zbsvc_files() {
  compopt -o filenames 2>/dev/null
  mapfile -t COMPREPLY < <(compgen "$1" -- "$cur")
}
_zbsvc_words() {
  mapfile -t COMPREPLY < <(compgen -W "$1" -- "$cur")
}
_zbsvc() {
  local cur="${COMP_WORDS[COMP_CWORD]}" prev="${COMP_WORDS[COMP_CWORD - 1]}"
  local path="" word i subs switches valued files
  for ((i = 1; i < COMP_CWORD; i++)); do
    word="${COMP_WORDS[i]}"
    _zbsvc_row "$path"
    if [[ " $valued " == *" $word "* ]]; then
      ((i++))
    elif [[ "$word" != -* && " $subs " == *" $word "* ]]; then
      path="${path:+$path }$word"
    fi
  done
  _zbsvc_row "$path"
  COMPREPLY=()
  if [[ $COMP_CWORD -gt 1 && " $valued " == *" $prev "* ]]; then
    _zbsvc_value "$path|$prev"
  elif [[ "$cur" == -* ]]; then
    _zbsvc_words "$switches"
  elif [ -n "$subs" ]; then
    _zbsvc_words "$subs"
  elif [ -n "$files" ]; then
    _zbsvc_files -f
  fi
}
complete -F _zbsvc zbsvc
)";
} // namespace

int zbsvcPrintCompletion(zbOFStream& oStream, const zbsvcOptions& iMainOptions)
{
    oStream.Print("# bash completion of zbsvc %s, printed by zbsvc from its verb table.\n",
                  ZBSVC_VERSION);
    oStream.Print("_zbsvc_row() {\n  subs='' switches='' valued='' files=''\n  case \"$1\" in\n");
    PrintRow(oStream, "", iMainOptions, zbsvcVerbs, false);
    PrintTableRows(oStream);
    zbsvcForEachVerb(PrintVerbRow);
    oStream.Print("  esac\n}\n_zbsvc_value() {\n  case \"$1\" in\n");
    sValues = true;
    PrintRow(oStream, "", iMainOptions, nullptr, false);
    zbsvcForEachVerb(PrintVerbRow);
    sValues = false;
    oStream.Print("  esac\n}\n%s", kFunctions);
    return 0;
}
