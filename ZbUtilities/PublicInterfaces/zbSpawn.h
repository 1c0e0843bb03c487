#ifndef zbSpawn_H
#define zbSpawn_H
// The one way the library starts a child process, and the one way it runs
// a program to its end with its answer captured and a time limit.
//
// zbSpawn uses posix_spawn (no code of ours runs between fork and exec) and
// checks every setup call.  The child gets:
//   - the descriptors asked for as its standard input, output and error
//     (the others of the library are close-on-exec and do not reach it;
//     those in _Keep stay open under their numbers);
//   - a process group of its own when asked (its pid is then the group's,
//     so that a signal reaches everything it starts), with standard input
//     from /dev/null unless one is given;
//   - the signal mask the process had before a runner blocked its signals
//     (zbSpawnSetChildMask), and the default action of SIGPIPE (the
//     signals this process catches are reset by exec itself);
//   - the working directory asked for.
// Both functions return 0 or the errno of the step that failed.

#include <csignal>
#include <string>
#include <sys/types.h>

struct zbSpawnRequest
{
    const char* _Program = nullptr;      // searched in PATH when it has no '/'
    const char* const* _Argv = nullptr;  // null-terminated, _Argv[0] first
    char* const* _Environment = nullptr; // null: the process's environ
    int _Stdin = -1;                     // -1: inherited (/dev/null with _OwnGroup)
    int _Stdout = -1;                    // -1: inherited
    int _Stderr = -1;                    // -1: inherited
    const char* _Directory = nullptr;    // null or "": the caller's
    int _OwnGroup = 0;
    const int* _Keep = nullptr; // descriptors left open in the child
    int _KeepCount = 0;
};

int zbSpawn(const zbSpawnRequest& iRequest, pid_t& oPid);

// The file a search of PATH finds for iName, as zbSpawn's and the shell's
// search do: a name with a slash as it stands, otherwise the first
// executable regular file of that name in PATH's directories (an empty one
// is the current directory; no PATH, "/bin:/usr/bin").  False when there is
// none.
bool zbFindProgram(const char* iName, std::string& oPath);

// Runs iRequest's program (its standard output into oOutput through a
// pipe, standard input from /dev/null unless given) and waits for it in
// one ppoll with a deadline: at most iMilliseconds, after which its group
// is killed (SIGKILL) and the result is ETIMEDOUT.  oStatus gets its exit
// status (128 plus the signal's number when a signal ended it).
int zbRunCaptured(const zbSpawnRequest& iRequest, long iMilliseconds, std::string& oOutput,
                  int& oStatus);

// The mask children start with: iMask (a runner's saved mask) until the
// next call; null: the mask of the moment.
void zbSpawnSetChildMask(const sigset_t* iMask);

#endif
