// The installation: every framework's runtime view (its framework.data and
// the module.data of its modules, for the build-time operating system)
// says which files of the framework go where; each one that is not
// installed yet, or changed, or was compiled by this run, is copied to
// OUT/RUNTIME-VIEW-NAME with its modification time.  Beside them, in
// OUT/InstallData:
//
//   FW.rtview        the framework's runtime view (written when it changes)
//   install.stat     the statistics file: every element, its size and time
//   install.lsout    the listing of the installation, "SIZE@TIME PATH" lines
//                    sorted by path (paths relative to OUT)
//   install.lsout.old  the listing before the last change
//
// An installed file that no view names any more is removed.  When the
// listing changes, zbsvc lsdiff says what changed.

#include <algorithm>
#include <cerrno>
#include <climits>
#include <unistd.h>
#include <unordered_set>

#include "zbDescriptor.h"
#include "zbDirectories.h"
#include "zbFileElementExtension.h"
#include "zbFileName.h"
#include "zbFileOperations.h"
#include "zbFileStats.h"
#include "zbHashDico.h"
#include "zbLsoutElement.h"
#include "zbOFStream.h"
#include "zbProcess.h"
#include "zbRTViewData.h"
#include "zbRTViewDataStat.h"
#include "zbReport.h"
#include "zbShellAction.h"
#include "wsbuild.h"

namespace
{
const unsigned int kFrameworks = static_cast<unsigned int>(zbHashCodeCollec::UpToNiceModulo(256));
const unsigned int kElements = static_cast<unsigned int>(zbHashCodeCollec::UpToNiceModulo(4096));

struct Listed
{
    long long _Size;
    long _Time;
};

// A listing as a table of paths; empty when there is none.
std::unordered_map<std::string, Listed> ReadListing(const std::string& iPath, std::string& oText)
{
    std::unordered_map<std::string, Listed> listed;
    if (zbLsoutElement::ReadText(iPath.c_str(), oText) != 0)
    {
        oText.clear();
        return listed;
    }
    std::string copy = oText;
    char* next = &copy[0];
    const char* end = copy.data() + copy.size();
    zbLsoutElement::Line line;
    while (zbLsoutElement::NextLine(next, end, 0, line))
        listed.emplace(std::string(line._Path, line._PathLength), Listed{line._Size, line._Time});
    return listed;
}

std::string Quoted(const std::string& iWord)
{
    std::string quoted = "'";
    for (char c : iWord)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// zbsvc beside this program, else the one of PATH.
std::string Zbsvc()
{
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length > 0)
    {
        std::string beside(self, static_cast<size_t>(length));
        beside = beside.substr(0, beside.rfind('/') + 1) + "zbsvc";
        if (access(beside.c_str(), X_OK) == 0)
            return Quoted(beside);
    }
    return "zbsvc";
}

// Runs a command of the family as a shell action; 0 when it ends well.
int RunTool(const std::string& iCommand)
{
    zbStdout.Flush();
    zbShellAction* action = new zbShellAction();
    action->SetCommand(iCommand.c_str());
    zbProcess process;
    int status = 1;
    if (process.Create(action, 0) == 0)
        process.Wait(status, 0);
    action->Release();
    return status == 0 ? 0 : 1;
}

// What the installation of one framework gives.
struct Result
{
    std::string _Listing;
    int _Installed = 0;
    int _Failed = 0;
};

// Copies iSource to iTarget with its time; 0, or 1 after a report.
int Copy(const std::string& iSource, const std::string& iTarget, const zbFileStats& iStats)
{
    zbFileName target(iTarget.c_str());
    if (zbCreateDirectoryFromDirname(target) != 0 ||
        zbCopyFile(iSource.c_str(), iTarget.c_str()) != 0)
        return zbReportLastError(iTarget.c_str());
    zbFileStats written;
    if (written.Write(iTarget.c_str(), iStats) != 0)
        return zbReportLastError(iTarget.c_str());
    return 0;
}

// Installs the elements of a framework's view; their records go to the
// statistics and the listing.
void InstallView(const std::string& iFramework, const zbRTViewData& iView, Files& ioFiles,
                 const std::string& iOut, const std::unordered_set<int>& iBuilt,
                 const std::unordered_map<std::string, Listed>& iListed, zbRTViewDataStat& ioStats,
                 std::vector<std::string>& ioLines, Result& ioResult)
{
    QORListPtrzbRTViewElement elements;
    iView.GetListOfElements(elements);
    for (const zbRTViewElement* element : elements)
    {
        const std::string rtvName = element->_RTVname.CastToCharPtr();
        const int source = ioFiles.Id(iFramework + "/" + element->_Name.CastToCharPtr());
        const std::string target = iOut + "/" + rtvName;
        zbFileStats from, to;
        const bool there = to.Read(target.c_str()) == 0;
        // Not built (its compilation failed): what was installed stays.
        const bool built = from.Read(ioFiles.Absolute(source).c_str()) == 0;
        if (!built && !there)
            continue;
        if (built && (iBuilt.count(source) || !there || to != from || !iListed.count(rtvName)))
        {
            if (Copy(ioFiles.Absolute(source), target, from) != 0)
            {
                ++ioResult._Failed;
                continue;
            }
            ++ioResult._Installed;
            to.Read(target.c_str());
        }
        zbRTViewElementStat record;
        static_cast<zbRTViewElement&>(record) = *element;
        record._Framework = iFramework.c_str();
        record.SetSizeAndLastModificationTime(to.SizeInBytes(), to.LastModificationTime());
        ioStats.InsertForFramework(record, zbRTViewData::MergeSilently);
        ioLines.push_back(rtvName + '\n' + std::to_string(to.SizeInBytes()) + '@' +
                          std::to_string(to.LastModificationTime()));
    }
}

// The runtime view of a framework, written beside the installation.
int View(Workspace& iWorkspace, Files& ioFiles, const std::string& iFramework,
         const std::string& iDataDir, zbRTViewData& oView, int& ioViewsChanged)
{
    int problem = 0, missing = 0;
    const int failed = zbFileElementExtension::GetFWRTViewData(
        ioFiles.Absolute(ioFiles.Id(iFramework)).c_str(), iWorkspace.OS().c_str(), oView, problem,
        missing, zbRTViewData::KeepPaths, nullptr);
    if (failed < 0)
        return 1;
    int changed = 0;
    if (oView.WriteIfChanged(QORString((iDataDir + "/" + iFramework + ".rtview").c_str()), changed))
        return 1;
    ioViewsChanged += changed;
    return failed > 0 || problem || missing;
}
} // namespace

int Install(Workspace& iWorkspace, Files& ioFiles, const std::string& iOut,
            const std::vector<int>& iBuilt)
{
    const std::string dataDir = iOut + "/InstallData";
    if (zbCreateDirectory(dataDir.c_str()) != 0)
        return zbReportLastError(dataDir.c_str());
    const std::string listingPath = dataDir + "/install.lsout";
    std::string before;
    const std::unordered_map<std::string, Listed> listed = ReadListing(listingPath, before);
    const std::unordered_set<int> built(iBuilt.begin(), iBuilt.end());
    zbRTViewDataStat stats(kFrameworks, kElements);
    std::vector<std::string> lines;
    Result result;
    int viewsChanged = 0;
    for (const std::string& framework : iWorkspace.Frameworks())
    {
        zbRTViewData view(kElements);
        result._Failed += View(iWorkspace, ioFiles, framework, dataDir, view, viewsChanged);
        InstallView(framework, view, ioFiles, iOut, built, listed, stats, lines, result);
    }
    // Sorted by path; written "SIZE@TIME PATH".  What the last listing
    // names and the views no longer do goes.
    std::sort(lines.begin(), lines.end());
    std::unordered_set<std::string> kept;
    for (const std::string& line : lines)
    {
        const size_t cut = line.find('\n');
        result._Listing += line.substr(cut + 1) + ' ' + line.substr(0, cut) + '\n';
        kept.insert(line.substr(0, cut));
    }
    for (const auto& [path, stat] : listed)
        if (!kept.count(path) && zbRemoveFile((iOut + "/" + path).c_str(), 0) != 0)
            result._Failed += zbReportLastError((iOut + "/" + path).c_str());
    if (result._Listing == before && !viewsChanged)
    {
        zbStdout << "zbwsbuild: " << iOut.c_str() << " up to date\n";
        return result._Failed ? 1 : 0;
    }
    if (stats.Write(zbNewString((dataDir + "/install.stat").c_str())) != 0)
        return 1;
    if (int error = before.empty() ? 0
                                   : zbReplaceFile((listingPath + ".old").c_str(), before.data(),
                                                   before.size()))
        return zbReportSystemError((listingPath + ".old").c_str(), error);
    if (int error =
            zbReplaceFile(listingPath.c_str(), result._Listing.data(), result._Listing.size()))
        return zbReportSystemError(listingPath.c_str(), error);
    zbStdout << "zbwsbuild: " << result._Installed << " files installed into " << iOut.c_str()
             << '\n';
    if (!before.empty() && RunTool(Zbsvc() + " lsdiff " + Quoted(listingPath + ".old") + " " +
                                   Quoted(listingPath)) != 0)
        return 1;
    return result._Failed ? 1 : 0;
}
