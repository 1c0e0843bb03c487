// The environment zbsvc runs in: the variables the library reads, said in
// `zbsvc -h`, in the manual page and in the environment script of an
// installed tree, all from the one table below; and a note for a run
// started without them, written before the library's own fatal report.

#include <cstring>
#include <string>
#include <unistd.h>

#include "zbOFStream.h"
#include "zbsvcVerbs.h"

// The run-time directory of an installed tree, given by the build.
#ifndef ZBSVC_OS_RUNTIME
#define ZBSVC_OS_RUNTIME "code"
#endif

namespace
{
struct Variable
{
    const char* _Name;
    const char* _Installed; // value for an installed tree; null: optional
    const char* _Meaning;
};

// Constant data: read before the library is loaded (see the end).
constexpr Variable kVariables[] = {
    {"ZbzbINSTALL_PATH", "PREFIX/share/zbzb", "installation roots, separated by ':'"},
    {"ZbzbOS_Buildtime", "linux_b64", "build-time operating-system directory"},
    {"ZbzbOS_Runtime", ZBSVC_OS_RUNTIME, "run-time operating-system directory"},
    {"ZbzbOS_DOC", "doc", "documentation directory"},
    {"ZbzbOS_NAME", "Linux", "operating-system name"},
    {"ZbzbOS_Type", "linux", "operating-system type"},
    {"ZbzbOS_BitMode", "64", "bit mode, 32 or 64"},
    {"ZbzbOS_RootBuildtime", nullptr, "more build-time directories, separated by ','"},
    {"MY_ZBZB_CONFIG", nullptr, "roots searched for configuration files first"},
    {"MY_ZBZB_TRAME", nullptr, "roots searched for trame files first"},
    {"MY_ZBZB_DATA", nullptr, "roots searched for data files first"},
    {"Zbzb_SPKLEVEL", nullptr, "service pack of the version"},
    {"ZBZB_FBINCLUDEONCE", nullptr, "when set, pp -expand includes a file once"},
    {"QOR_MSGCATALOG_PATH", nullptr, "directories searched for message catalogs first"},
    {"ZBZB_SLURM_PARTITION", nullptr, "partition of run -engine slurm"},
    {"ZBZB_SLURM_ARGS", nullptr, "more srun arguments of run -engine slurm"},
};

const char kScript[] = "share/zbzb/env.sh";

std::string Installed(const Variable& iVariable, const std::string& iPrefix)
{
    std::string value = iVariable._Installed;
    if (!value.compare(0, 6, "PREFIX"))
        value.replace(0, 6, iPrefix);
    return value;
}
} // namespace

void zbsvcPrintEnvironment(zbOFStream& oStream)
{
    oStream.Print("environment (read as zbsvc starts; without the first seven it stops at once;\n"
                  "PREFIX/%s sets them for the tree installed in PREFIX):\n",
                  kScript);
    for (const Variable& variable : kVariables)
    {
        std::string name = variable._Name;
        if (variable._Installed)
            name += std::string("=") + variable._Installed;
        oStream.Print("   %s : %s\n", name.c_str(), variable._Meaning);
    }
}

void zbsvcPrintManualEnvironment(zbOFStream& oStream)
{
    oStream.Print(".SH ENVIRONMENT\n"
                  "The library reads its build context from the environment as zbsvc starts,\n"
                  "and ends the run (status 1) when one of the first seven variables is\n"
                  "missing.  For a tree installed in \\fIPREFIX\\fR, "
                  "\\fB. \\fIPREFIX\\fB/share/zbzb/env.sh\\fR sets them\n"
                  "to the values shown.\n");
    for (const Variable& variable : kVariables)
    {
        oStream.Print(".TP\n\\fB%s\\fR", variable._Name);
        if (variable._Installed)
            oStream.Print("=\\fI%s\\fR", variable._Installed);
        oStream.Print("\n%s\n", variable._Meaning);
    }
}

void zbsvcPrintEnvironmentScript(zbOFStream& oStream, const char* iPrefix)
{
    oStream.Print("# The environment of the zbzb tools installed in %s: the build\n"
                  "# context the library reads as a program starts.  Sourced, from any\n"
                  "# POSIX shell:\n"
                  "#\n"
                  "#     . %s/%s\n",
                  iPrefix, iPrefix, kScript);
    for (const Variable& variable : kVariables)
        if (variable._Installed)
            oStream.Print("export %s='%s'\n", variable._Name, Installed(variable, iPrefix).c_str());
}

// ---------------------------------------------------------------- start

namespace
{
__attribute__((no_sanitize("address", "undefined"))) void Say(const char* iText)
{
    if (::write(2, iText, std::strlen(iText)) < 0)
        return;
}

// The value of iName in iEnvironment (the process's environment is not
// set up yet where this runs: getenv would find nothing), or null.
__attribute__((no_sanitize("address", "undefined"))) const char* Value(char** iEnvironment,
                                                                       const char* iName)
{
    const size_t length = std::strlen(iName);
    for (char** entry = iEnvironment; entry && *entry; ++entry)
        if (!std::strncmp(*entry, iName, length) && (*entry)[length] == '=')
            return *entry + length + 1;
    return nullptr;
}

// The script of the tree zbsvc is installed in (PREFIX/bin/zbsvc:
// PREFIX/share/zbzb/env.sh), in oPath; false when there is none.
__attribute__((no_sanitize("address", "undefined"))) bool FindScript(char (&oPath)[4096])
{
    ssize_t length = ::readlink("/proc/self/exe", oPath, sizeof oPath - sizeof kScript - 1);
    if (length <= 0)
        return false;
    oPath[length] = '\0';
    char* bin = std::strrchr(oPath, '/');
    if (!bin)
        return false;
    *bin = '\0';
    char* prefix = std::strrchr(oPath, '/');
    if (!prefix)
        return false;
    std::strcpy(prefix + 1, kScript);
    return ::access(oPath, R_OK) == 0;
}

// Run before the libraries' initialisation, where the library ends a run
// whose environment lacks its build context: the note says what to set
// and, in an installed tree, which script sets it; the library's report
// follows.  Only constant data and plain system calls here: nothing else
// is set up yet.
__attribute__((no_sanitize("address", "undefined"))) void CheckEnvironment(int, char**,
                                                                           char** iEnvironment)
{
    const char* wrong = nullptr;
    for (const Variable& variable : kVariables)
        if (variable._Installed && !wrong)
        {
            const char* value = Value(iEnvironment, variable._Name);
            if (!value || !*value)
                wrong = variable._Name;
        }
    const char* bits = Value(iEnvironment, "ZbzbOS_BitMode");
    if (!wrong && std::strcmp(bits, "32") && std::strcmp(bits, "64"))
        wrong = "ZbzbOS_BitMode";
    if (!wrong)
        return;
    Say("zbsvc: ");
    Say(wrong);
    Say(" is missing or wrong: the library reads its build context from the environment\n"
        "zbsvc: to set:");
    for (const Variable& variable : kVariables)
        if (variable._Installed)
        {
            Say(" ");
            Say(variable._Name);
        }
    char path[4096];
    if (FindScript(path))
    {
        Say("\nzbsvc: for this installation: . ");
        Say(path);
        Say("\n");
    }
    else
        Say("\nzbsvc: their values: ENVIRONMENT in zbsvc(1); in an installed tree, "
            ". PREFIX/share/zbzb/env.sh\n");
}

__attribute__((section(".preinit_array"),
               used)) void (*const sCheckEnvironment)(int, char**, char**) = CheckEnvironment;
} // namespace
