#ifndef zbRunMonitor_H
#define zbRunMonitor_H
// What a parallel run tells whoever shows its progress (a status line on a
// terminal, for instance).  The runner calls BeforeOutput before it prints
// anything (an action's captured output, a report), AfterOutput with the
// file it has just printed, and Progress after every start and every end,
// with the counts of the moment.

class zbRunMonitor
{
  public:
    struct Counts
    {
        int _Total = 0;    // actions in the run
        int _Finished = 0; // ended and printed
        int _Failed = 0;   // of the finished ones
        int _Running = 0;  // started, not printed yet
    };

    virtual ~zbRunMonitor();
    virtual void BeforeOutput();
    virtual void AfterOutput(const char* iCapturedFile);
    virtual void Progress(const Counts& iCounts);
};

#endif
