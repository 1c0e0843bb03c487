#ifndef QORStackTrace_H
#define QORStackTrace_H
// Call stacks, captured and printed with demangled function names.

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
};

#endif
