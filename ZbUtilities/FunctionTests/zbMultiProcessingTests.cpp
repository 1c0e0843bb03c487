// Runs of actions in parallel: counts, each action's output whole.

#include "zbActionIntf.h"
#include "zbMonoProcessing.h"
#include "zbMultiProcessing.h"
#include "zbTestActions.h"
#include "zbTestSupport.h"
#include "zbTestWorkload.h"

namespace
{
struct Actions
{
    std::vector<zbActionIntf*> _Owned;
    QORListPtrzbActionIntf _List;
    ~Actions() { zbtest::ReleaseAll(_Owned); }
    void Add(zbActionIntf* iAction)
    {
        _Owned.push_back(iAction);
        _List.Append(iAction);
    }
};

std::string Probe(int iId, size_t iBytes, int iSleepMs, int iCode)
{
    return zbtest::Program("zbActionProbe") + " " + std::to_string(iId) + " " +
           std::to_string(iBytes) + " " + std::to_string(iSleepMs) + " " + std::to_string(iCode);
}

// What probe iId writes, as the test understands the probe's layout:
// pieces of 1,024 bytes, output then error, each "ID o|e N " filled to its
// newline with the letter of the id's last digit.
std::string ProbeOutput(int iId, size_t iBytes)
{
    std::string id = std::to_string(iId), all;
    char fill = static_cast<char>('a' + (id.back() - '0'));
    for (size_t index = 0, done = 0; done < iBytes; ++index, done += 1024)
    {
        size_t length = std::min<size_t>(1024, iBytes - done);
        for (char stream : {'o', 'e'})
        {
            std::string piece = id + " " + stream + " " + std::to_string(index) + " ";
            piece.resize(length - 1, fill);
            all += piece + "\n";
        }
    }
    return all;
}

// Checks that iOutput is exactly the blocks of iBlocks, each once and
// whole, in any order; "" when it is, else what went wrong.
std::string CheckBlocks(const std::string& iOutput, const std::map<int, std::string>& iBlocks)
{
    std::map<int, int> seen;
    size_t at = 0;
    while (at < iOutput.size())
    {
        int id = std::atoi(iOutput.c_str() + at);
        auto block = iBlocks.find(id);
        if (block == iBlocks.end() || iOutput.compare(at, block->second.size(), block->second))
            return "unexpected bytes at " + std::to_string(at) + ": " + iOutput.substr(at, 40);
        if (seen[id]++)
            return "block " + std::to_string(id) + " twice";
        at += block->second.size();
    }
    if (seen.size() != iBlocks.size())
        return std::to_string(iBlocks.size() - seen.size()) + " blocks missing";
    return "";
}

} // namespace

TEST(zbMultiProcessing, OneSlotOrOneActionRunsAsMonoProcessing)
{
    zbtest::TmpDirScope tmp;
    const std::tuple<unsigned int, int, const char*, int> rows[] = {
        {0, 4, "run 1\nrun 2\nrun 3\n", 2},
        {1, 4, "run 1\nrun 2\nrun 3\n", 2},
        {4, 1, "run 1\n", 0},
    };
    for (const auto& [jobs, count, printed, failures] : rows)
    {
        // Inline actions print as they run; the second fails with 7 and a
        // fourth fails to start.
        Actions actions;
        for (int i = 1; i <= count; ++i)
        {
            auto* action = i == 4 ? new zbTestNoStartAction() : new zbTestInlineAction();
            action->_Say = i == 4 ? "" : "run " + std::to_string(i);
            action->_Result = i == 2 ? 7 : action->_Result;
            actions.Add(action);
        }
        zbtest::Capture out(1);
        EXPECT_EQ(zbMultiProcessing(actions._List, jobs), failures) << jobs;
        EXPECT_EQ(out.Stop(), printed);
        // As in zbMonoProcessing, no capture file was given to any action.
        for (zbActionIntf* action : actions._Owned)
            EXPECT_EQ(static_cast<zbTestInlineAction*>(action)->_Stdout, "");
    }
    Actions none;
    EXPECT_EQ(zbMultiProcessing(none._List, 4), 0);
    EXPECT_EQ(zbMonoProcessing(none._List), 0);
    EXPECT_EQ(tmp.Entries(), "");
}

TEST(zbMultiProcessing, FailuresCountedAndOutputsWhole)
{
    zbtest::TmpDirScope tmp;
    // codes: exit code of each probe; -1: fails to start
    const std::tuple<unsigned int, std::vector<int>, int> rows[] = {
        {2, {0, 1, 0, 1, 0}, 2},
        {8, {0, 0, 0, 0}, 0}, // unused slots contribute nothing
        {3, {0, -1, 0, 2, 0, 0, 0}, 2},
    };
    for (const auto& [jobs, codes, failures] : rows)
    {
        Actions actions;
        std::map<int, std::string> blocks;
        for (size_t i = 0; i < codes.size(); ++i)
        {
            int id = static_cast<int>(i) + 1;
            if (codes[i] < 0)
            {
                actions.Add(new zbTestNoStartAction());
                continue;
            }
            // Later probes end first: the order of the output is not the
            // list's.
            actions.Add(zbtest::ShellAction(
                Probe(id, 3000, 20 * static_cast<int>(codes.size() - i), codes[i])));
            blocks[id] = ProbeOutput(id, 3000);
        }
        // Through the trace manager, the bytes are the same.
        zbMultiProcessingOptions options;
        options._ThroughTraceManager = jobs == 3;
        zbtest::Capture out(1);
        EXPECT_EQ(zbMultiProcessing(actions._List, jobs, options), failures);
        EXPECT_EQ(CheckBlocks(out.Stop(), blocks), "") << jobs;
        EXPECT_EQ(tmp.Entries(), "");
    }
}

TEST(zbMultiProcessing, LargeInterleavedOutputsStayWhole)
{
    zbtest::TmpDirScope tmp;
    const size_t kBytes = 64 * 1024;
    std::map<int, std::string> blocks;
    Actions actions;
    for (int id = 1, last = zbtest::Workload(100, 20); id <= last; ++id)
    {
        actions.Add(zbtest::ShellAction(Probe(id, kBytes, 0, 0)));
        blocks[id] = ProbeOutput(id, kBytes);
    }
    for (unsigned int jobs : {2u, 3u, 8u})
    {
        zbtest::Capture out(1);
        EXPECT_EQ(zbMultiProcessing(actions._List, jobs), 0);
        EXPECT_EQ(CheckBlocks(out.Stop(), blocks), "") << jobs << " slots";
    }
    EXPECT_EQ(tmp.Entries(), "");
}
