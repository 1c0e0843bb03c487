#ifndef zbProcess_H
#define zbProcess_H
// The handle through which the library runs one action as a child process.
//
// The action starts the child itself and hands back its process
// identifier; zbProcess waits for it (waitpid), and names the temporary
// files (tempnam) that receive the child's standard output and error, which
// it copies to the console when the child has ended.
//
// States: idle (_Active 0) -> Create with a handle above 0 -> active ->
// StillActive or Wait reaps it -> idle with _ExitStatus set.  The exit
// status is the child's exit code, or 128 plus the signal's number when a
// signal ended it (as shells report it), or -1 when it could not be waited
// for.  Create on an active object is refused with -1.

class zbActionIntf;

class zbProcess
{
  public:
    zbProcess() = default;
    // Reset() then ResetTempIO(): the temporary files are removed.
    virtual ~zbProcess();
    zbProcess(const zbProcess&) = delete;
    zbProcess& operator=(const zbProcess&) = delete;

    // One temporary file for both streams (null arguments: none).
    virtual void SetTempIO(const char* PathName, const char* PrefixString);
    // One file per stream; a null prefix leaves that stream uncaptured.
    virtual void SetTempIO(const char* PathName, const char* StdoutPrefixString,
                           const char* StderrPrefixString);
    // Copies the captured output to zbStdout (standard error's own file to
    // zbStderr); a shared file is copied once.  Only the stream's errno is
    // recorded.
    virtual void FlushTempIOToStream();
    // The same through the trace manager, so that the XML trace gets it
    // too; with ToConsole the text goes through ConvertToConsole first.  A
    // file that cannot be read is reported, the other is still flushed.
    virtual void FlushTempIO(const int ToConsole);
    // Starts Action (see the Start contract of zbActionIntf); -1 when a
    // child is still active or Action is null, else Start's result.
    virtual int Create(zbActionIntf* Action, const int Verbose);
    virtual int* GetProcessHandle();
    // waitpid(Options) on the active child; Status gets the exit status.
    // Returns 1 while the child is still active.
    virtual int StillActive(int& Status, int Options);
    virtual int Wait(int& Status, int Options);
    virtual void Reset();
    // Removes the temporary files and forgets their names.
    virtual void ResetTempIO();

    const char* GetStdoutTmpIO() const { return _StdoutTmpIO; }
    const char* GetStderrTmpIO() const { return _StderrTmpIO; }
    int IsActive() const { return _Active; }
    int GetExitStatus() const { return _ExitStatus; }

  protected:
    char* _StdoutTmpIO = nullptr;
    char* _StderrTmpIO = nullptr;
    int _Active = 0;
    int _ProcessHandle = 0;
    int _ExitStatus = -1;
};

// The exit status of a wait status: the exit code, or 128 plus the number
// of the signal that ended the process.
int zbExitStatusOf(int iWaitStatus);

#endif
