#ifndef QORStackTrace_H
#define QORStackTrace_H
// Call stacks, captured and printed with demangled function names, by one
// printer that also serves signal handlers (WriteCurrent).

#include <cstdio>
#include <string>
#include <vector>

class QORBasicStackTrace
{
  public:
    QORBasicStackTrace() = default;
    virtual ~QORBasicStackTrace() = default;

    // Prints one line per frame, "#N function (module+offset)", skipping
    // iSkip innermost frames and printing at most iMax (all when 0).
    void Print(FILE* iStream, int iSkip, int iMax) const;
    int GetNbFrames() const { return static_cast<int>(_Frames.size()); }

  private:
    friend class QORStackTrace;
    std::vector<void*> _Frames;
};

class QORStackTrace : public QORBasicStackTrace
{
  public:
    // Captures the current call stack into oTrace; returns the frame count.
    static int GetTrace(QORBasicStackTrace& oTrace);

    // Readies WriteCurrent for a signal handler: loads the unwinder and reads
    // the symbols of the objects loaded now (call it again after loading
    // more).  Print does it itself.
    static void Prepare();
    static int IsPrepared();
    // Async-signal-safe: captures the current call stack and writes it to
    // iFd with write(2), as Print does, leaving out iSkip frames of its
    // callers; frames are named from what Prepare read, and a name beyond
    // plain functions (templates, operators) keeps its mangled form.
    static void WriteCurrent(int iFd, int iSkip);
};

#endif
