#ifndef zbSlurmAllocation_H
#define zbSlurmAllocation_H
// One allocation of a Slurm cluster for a whole run of actions, so that the
// cluster schedules once: each zbSlurmAction given its job id
// (zbSlurmAction::SetAllocation) runs as one job step of it instead of a
// job of its own.
//
// Acquire runs "salloc -Q -O -n TASKS [--partition=P] [EXTRA ...] /bin/sh
// -c ..." in a process group of its own: salloc holds the allocation while
// its command, reading a pipe of ours, runs; the command first prints the
// job id.  -O (overcommit) lets the steps outnumber the CPUs granted, as
// the jobs of a run could on an oversubscribed partition.  The allocation
// ends when the pipe closes: at Release (or destruction), which waits for
// salloc, and when this process ends in any way, even killed, since the
// system closes the pipe then.  salloc's errors go to standard error.

#include <string>
#include <sys/types.h>
#include <vector>

class zbSlurmAllocation
{
  public:
    zbSlurmAllocation() = default;
    ~zbSlurmAllocation() { Release(); }
    zbSlurmAllocation(const zbSlurmAllocation&) = delete;
    zbSlurmAllocation& operator=(const zbSlurmAllocation&) = delete;

    // Asks for iTasks tasks, waits for the grant; 0, or 1 after one report
    // (zbSlurmAction.Unreachable).
    int Acquire(const std::string& iPartition, int iTasks, const std::vector<std::string>& iExtra);
    // The job id ("" when there is no allocation).
    const std::string& GetJobId() const { return _JobId; }
    // Gives the allocation back and waits until salloc has.
    void Release();

  private:
    pid_t _Salloc = 0;
    int _Hold = -1; // closing it ends the allocation
    std::string _JobId;
};

#endif
