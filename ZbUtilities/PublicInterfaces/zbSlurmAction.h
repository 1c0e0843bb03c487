#ifndef zbSlurmAction_H
#define zbSlurmAction_H
// A shell command run on a Slurm cluster: Start runs "srun OPTIONS
// /bin/sh -c -- COMMAND" as one job step (one task on one node).  Registered
// with the component model under its class name, so
// zbActionFactory("zbSlurmAction") creates one.
//
// srun forwards the job's standard output and error to its own, which go to
// the files of SetStdoutFile and SetStderrFile exactly as for zbShellAction
// (same creation rules).  Start returns srun's pid, so zbProcess and
// zbMultiProcessing wait for it as for any child; srun ends with the job's
// exit code, which becomes the action's status.  A job killed or cancelled
// (signal, time limit, scancel, a command missing on the node) ends srun
// with a non-zero status: a failure.  srun's own notes are silenced (-Q -Q),
// so the captured text is the job's; a signal sent to srun (SIGTERM from the
// parallel runner) is passed on to the job step.
//
// Options, read from the environment when the action is created and
// settable afterwards:
//   partition        ZBZB_SLURM_PARTITION   srun --partition
//   time limit       (none)                 srun --time, Slurm's forms
//                                           ("MINUTES", "H:MM:SS", ...)
//   extra arguments  ZBZB_SLURM_ARGS        words separated by blanks (no
//                                           quoting), placed after the
//                                           options above
// The cluster is the one srun finds: SLURM_CONF, or the machine's default
// configuration.

#include <string>
#include <vector>

#include "zbShellAction.h"

class zbSlurmAction : public zbShellAction
{
    QOR_DECLARE_CLASS(zbSlurmAction)

  public:
    zbSlurmAction();

    void SetPartition(const char* iPartition);
    const std::string& GetPartition() const { return _Partition; }
    void SetTimeLimit(const char* iTimeLimit);
    const std::string& GetTimeLimit() const { return _TimeLimit; }
    // The job id of an allocation (zbSlurmAllocation) to run in, as one
    // step of it ("--jobid=ID --exact --overcommit" instead of the
    // partition: steps may outnumber the CPUs, as the allocation); "" or
    // null: a job of its own.
    void SetAllocation(const char* iJobId);
    const std::string& GetAllocation() const { return _Allocation; }
    // Replaces the extra arguments by the blank-separated words of iWords.
    void SetExtraArguments(const char* iWords);
    const std::vector<std::string>& GetExtraArguments() const { return _Extra; }

    // The whole command line Start runs, program first.
    std::vector<std::string> GetSrunLine() const;

    // With Verbose the srun line is printed first as "+ LINE".
    int Start(int& ProcessHandle, int Verbose) override;

    // Asks the cluster whether it answers (sinfo, for iPartition when not
    // empty), waiting at most iSeconds.  0, or 1 after one report naming
    // Slurm: no srun or sinfo on PATH, no controller answering, an unknown
    // partition.  A run calls it once before its first action, so that a
    // missing cluster is one clear failure rather than one per action.
    static int CheckCluster(const std::string& iPartition, int iSeconds);

  protected:
    ~zbSlurmAction() override;
    int SpawnFailed(const char* iProgram, int iErrno) override;

  private:
    std::string _Partition;
    std::string _TimeLimit;
    std::string _Allocation;
    std::vector<std::string> _Extra;
};

#endif
