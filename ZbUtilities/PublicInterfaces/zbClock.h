#ifndef zbClock_H
#define zbClock_H
// Stop-watch of processor time (clock) and wall-clock time (time) between a
// start (construction or ClockIn) and an end (ClockOut), and the current
// date and time as texts.
//
// ClockOut prints one greppable line on zbStdout:
//   #_time_<K><text><label><fill><Real hh:mm:ss> <User %8.2f>
// where K is G, C or I for the three kinds and the fill pads text and label
// to 70 characters (3 blanks when they are longer, none when exactly 70).
// The global and cumulated kinds are framed by separator lines
// "#_time_  " followed by 99 '-'.
//
// The elapsed values always refer to the last ClockOut.  The texts live in
// static buffers of 32 characters (one for the real time, one for the user
// time, one for dates), overwritten by the next call of the same kind: not
// re-entrant.

#include <ctime>

class zbClock
{
  public:
    enum KindOfClockOut
    {
        Global = 0,
        Cumulated = 1,
        Intermediate = 2
    };

    zbClock();
    // Start and end both at the other's start.
    zbClock(const zbClock& iOther);
    zbClock& operator=(const zbClock&) = default;
    virtual ~zbClock();

    void ClockIn();
    void ClockOut(KindOfClockOut iKind, const char* iLabel, const char* iText);

    // Processor ticks between start and end (0 when not positive).
    double ProcessorTicks() const;
    // Seconds of processor time.
    double UserElapsed();
    // "User %8.2f".
    const char* UserElapsedStr();
    // Seconds of wall-clock time (0 when not positive).
    double RealElapsed();
    // "Real hh:mm:ss" (whole days dropped), "Real (Nil) 00:00:00" when the
    // duration cannot be converted.
    const char* RealElapsedStr();

    // The current local time as FmtTime, FmtDate, FmtDateTime; DateAndTime
    // also stores the time where oTime points (when not null).
    static const char* Time();
    static const char* Date();
    static const char* DateAndTime(long* oTime);
    // iEnd - iStart (0 when not positive) as FmtTime.
    static const char* GetDeltaTime(const long iStart, const long iEnd);

    static const char* const FmtDate;
    static const char* const FmtTime;
    static const char* const FmtDateTime;
    // Processor and wall-clock times at library load.
    static const clock_t _First;
    static const time_t _FirstR;

  protected:
    clock_t _StartTicks;
    time_t _StartTime;
    clock_t _EndTicks;
    time_t _EndTime;
};

// Started when the library is loaded; a tool typically prints the global
// execution time from it at its end.
extern zbClock zbStopWatchStarter;

#endif
