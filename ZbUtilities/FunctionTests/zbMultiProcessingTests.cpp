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

// A child writing iBytes on each stream, then sleeping iSleepMs.
std::string Probe(int iId, size_t iBytes, int iSleepMs, int iCode)
{
    return zbtest::Program("zbProbe") + " pieces " + std::to_string(iId) + " " +
           std::to_string(iBytes) + " " + std::to_string(iSleepMs) + " " + std::to_string(iCode);
}

// What probe iId writes when it runs alone, both streams in one.
std::string ProbeOutput(int iId, size_t iBytes)
{
    static std::map<std::pair<int, size_t>, std::string> known;
    std::string& output = known[{iId, iBytes}];
    if (output.empty())
        output = zbtest::Run({"/bin/sh", "-c", Probe(iId, iBytes, 0, 0) + " 2>&1"})._Out;
    return output;
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
        // fourth fails to start with 5.
        Actions actions;
        for (int i = 1; i <= count; ++i)
            actions.Add(new zbTestInlineAction(i == 2   ? 7
                                               : i == 4 ? 5
                                                        : 0,
                                               i == 4 ? "" : "run " + std::to_string(i)));
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
    const std::vector<int> many(static_cast<size_t>(zbtest::Workload(100, 20)), 0);
    // Slots, exit code of each probe (-1: fails to start), failures, bytes
    // of each probe, through the trace manager (the bytes are the same).
    const std::tuple<unsigned int, std::vector<int>, int, size_t, bool> rows[] = {
        {2, {0, 1, 0, 1, 0}, 2, 3000, false},
        {8, {0, 0, 0, 0}, 0, 3000, false}, // unused slots contribute nothing
        {3, {0, -1, 0, 2, 0, 0, 0}, 2, 3000, true},
        {2, many, 0, 65536, false},
        {8, many, 0, 65536, false},
    };
    for (const auto& [jobs, codes, failures, bytes, throughTraceManager] : rows)
    {
        Actions actions;
        std::map<int, std::string> blocks;
        for (size_t i = 0; i < codes.size(); ++i)
        {
            const int id = static_cast<int>(i) + 1;
            // Later small probes end first: the order of the output is not
            // the list's.
            const int sleepMs = bytes > 3000 ? 0 : 20 * static_cast<int>(codes.size() - i);
            actions.Add(codes[i] < 0 ? new zbTestInlineAction(5)
                                     : zbtest::ShellAction(Probe(id, bytes, sleepMs, codes[i])));
            if (codes[i] >= 0)
                blocks[id] = ProbeOutput(id, bytes);
        }
        zbMultiProcessingOptions options;
        options._ThroughTraceManager = throughTraceManager;
        zbtest::Capture out(1);
        // Without options, the two-argument form.
        EXPECT_EQ(throughTraceManager ? zbMultiProcessing(actions._List, jobs, options)
                                      : zbMultiProcessing(actions._List, jobs),
                  failures);
        EXPECT_EQ(CheckBlocks(out.Stop(), blocks), "") << jobs << " slots, " << bytes;
        EXPECT_EQ(tmp.Entries(), "");
    }
}
