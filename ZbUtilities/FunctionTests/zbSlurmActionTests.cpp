// Actions as Slurm job steps, against stand-in srun and sinfo, then through a
// local cluster when one is up (scripts/slurm-local.sh up).

#include "zbActionFactory.h"
#include "zbSlurmAction.h"
#include "zbTestSupport.h"
#include "zbTestWorkload.h"

using zbtest::Outcome;
using zbtest::ScopedEnv;

namespace
{
const char kUnreachable[] = "# Error: No Slurm cluster to run the actions on (";

void WriteScript(const std::string& iPath, const std::string& iBody)
{
    zbtest::WriteFile(iPath, "#!/bin/sh\n" + iBody + "\n");
    ::chmod(iPath.c_str(), 0755);
}

std::string Joined(const std::vector<std::string>& iWords)
{
    std::string line;
    for (const std::string& word : iWords)
        line += (line.empty() ? "" : " ") + word;
    return line;
}
} // namespace

TEST(zbSlurmAction, SrunLineFromEnvironmentAndSetters)
{
    const std::string head = "srun -Q -Q --nodes=1 --ntasks=1 ";
    const std::string tail = "/bin/sh -c -- echo 'a b'";
    // ZBZB_SLURM_PARTITION and ZBZB_SLURM_ARGS (null: unset), the three setters
    // (null: not called), the line.
    const std::tuple<const char*, const char*, const char*, const char*, const char*, std::string>
        rows[] = {
            {nullptr, nullptr, nullptr, nullptr, nullptr, head + tail},
            {"batch", "  --exclusive\t-v  ", nullptr, nullptr, nullptr,
             head + "--partition=batch --exclusive -v " + tail},
            // The action's own values win over the environment's.
            {"batch", "-v", "fast", "1:30", "--mem=1G --exclusive",
             head + "--partition=fast --time=1:30 --mem=1G --exclusive " + tail},
            {"batch", "", "", "", "", head + tail},
        };
    for (const auto& [environment, givenArgs, setPartition, setTime, setArgs, expectedLine] : rows)
    {
        ScopedEnv partition("ZBZB_SLURM_PARTITION", environment);
        ScopedEnv args("ZBZB_SLURM_ARGS", givenArgs);
        zbSlurmAction* action = static_cast<zbSlurmAction*>(zbActionFactory("zbSlurmAction"));
        ASSERT_NE(action, nullptr);
        action->SetCommand("echo 'a b'");
        if (setPartition)
            action->SetPartition(setPartition);
        if (setTime)
            action->SetTimeLimit(setTime);
        if (setArgs)
            action->SetExtraArguments(setArgs);
        std::vector<std::string> line = action->GetSrunLine();
        EXPECT_EQ(Joined(line), expectedLine);
        EXPECT_EQ(line.back(), "echo 'a b'"); // the command stays one argument
        action->Release();
    }
}

TEST(zbSlurmAction, ClusterCheckFailsOnceAndQuickly)
{
    // The stand-in sinfo, whether srun is there, the partition, what is printed after
    // kUnreachable ("" when the check passes), SLURM_CONF ("": unset).
    const std::tuple<std::string, bool, std::string, std::string, std::string> rows[] = {
        {"echo zbzb", true, "", "", ""},
        {"[ \"$4 $5\" = '-p zbzb' ] && echo zbzb", true, "zbzb", "", ""},
        {"echo zbzb", false, "", "srun: No such file or directory)\n", ""},
        {"echo 'no controller' >&2; exit 1", true, "", "the controller did not answer sinfo)\n",
         ""},
        {"exec /bin/sleep 30", true, "", "no answer from the controller within 1 s)\n", ""},
        {"true", true, "", "no partition)\n", ""},
        {"true", true, "gpu", "no partition gpu)\n", ""},
        {"echo zbzb", true, "", "SLURM_CONF /nonexistent: No such file or directory)\n",
         "/nonexistent"},
    };
    for (const auto& [sinfo, withSrun, partition, printed, slurmConf] : rows)
    {
        // A directory of stand-ins, nothing else: the machine's own srun and
        // sinfo stay out of reach; srun is never reached by the check.
        zbtest::TempDir cluster;
        if (withSrun)
            WriteScript(cluster / "srun", "exit 99");
        WriteScript(cluster / "sinfo", sinfo);
        ScopedEnv path("PATH", cluster.Path().c_str());
        ScopedEnv conf("SLURM_CONF", slurmConf.empty() ? nullptr : slurmConf.c_str());
        auto start = std::chrono::steady_clock::now();
        zbtest::Capture err(2);
        int rc = zbSlurmAction::CheckCluster(partition, 1);
        std::string said = err.Stop();
        auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(rc, printed.empty() ? 0 : 1) << sinfo;
        EXPECT_EQ(said, printed.empty() ? "" : kUnreachable + printed);
        EXPECT_LT(elapsed, std::chrono::seconds(3)) << sinfo;
    }
}

TEST(zbSlurmActionCluster, FailuresAndWholeOutputs)
{
    std::string conf = zbtest::LocalSlurmConf();
    if (conf.empty())
        GTEST_SKIP() << "no local Slurm cluster (scripts/slurm-local.sh up)";
    zbtest::ChildEnvironment env;
    env._Set["SLURM_CONF"] = conf;
    // 50 actions on 8 slots, every tenth failing; 16 KB of
    // standard output then 16 KB of standard error each, in 4-byte lines
    // that name the action.
    std::vector<std::string> args{"run", "-engine", "slurm", "-j", "8"};
    for (int i = 10; i < 60; ++i)
        args.push_back("yes o" + std::to_string(i) + " | head -n 4096; yes e" + std::to_string(i) +
                       " | head -n 4096 >&2" + (i % 10 == 0 ? "; exit 1" : ""));
    zbtest::ChildResult r = zbtest::Zbsvc(args, env);
    EXPECT_EQ(r._Status, 1);
    // Each action's lines form one block on each stream: its 4096 "o"
    // lines on standard output, its 4096 "e" lines on standard error, where
    // a failed action is named after its block.
    std::set<std::string> reports;
    for (const std::string* stream : {&r._Out, &r._Err})
    {
        std::map<std::string, int> lines;
        std::string previous;
        int blocks = 0;
        for (size_t at = 0, end; at < stream->size(); at = end)
        {
            end = (*stream)[at] == '#' ? stream->find('\n', at) + 1 : at + 4;
            std::string line = stream->substr(at, end - at);
            if (line[0] == '#')
            {
                reports.insert(line);
                continue;
            }
            ASSERT_EQ(line[3], '\n') << at;
            blocks += line.substr(1, 2) != previous;
            previous = line.substr(1, 2);
            ++lines[line];
        }
        EXPECT_EQ(blocks, 50);
        EXPECT_EQ(lines.size(), 50u);
        for (const auto& [line, count] : lines)
            EXPECT_EQ(count, 4096) << line;
    }
    std::set<std::string> expected{"# Error: 5 of 50 actions failed\n"};
    for (int i = 10; i < 60; i += 10)
        expected.insert("# Error: Action " + std::to_string(i - 9) +
                        " failed with status 1: yes o" + std::to_string(i) +
                        " | head -n 4096; yes e" + std::to_string(i) +
                        " | head -n 4096 >&2; exit 1\n");
    EXPECT_EQ(reports, expected);

    EXPECT_EQ(Outcome(zbtest::Zbsvc({"run", "-engine", "slurm", "zbNoSuchCommand"}, env)),
              "1||/bin/sh: 1: zbNoSuchCommand: not found\n# Error: Action 1 failed with status "
              "127: zbNoSuchCommand\n# Error: 1 of 1 actions failed\n");
}
