#include "zbClock.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "zbOFStream.h"

const char* const zbClock::FmtDate = "%m/%d/%Y";
const char* const zbClock::FmtTime = "%H:%M:%S";
const char* const zbClock::FmtDateTime = "%m/%d/%Y-%H:%M:%S";
const clock_t zbClock::_First = std::clock();
const time_t zbClock::_FirstR = std::time(nullptr);

zbClock zbStopWatchStarter;

namespace
{
const char kTimeTag[] = "#_time_";
const int kLineWidth = 70;
const char kKindLetters[] = {'G', 'C', 'I'};

char sRealText[32];
char sUserText[32];
char sDateText[32];

const char* FormatLocal(const char* iFormat, time_t iTime)
{
    struct tm parts;
    if (!::localtime_r(&iTime, &parts) ||
        !std::strftime(sDateText, sizeof sDateText, iFormat, &parts))
        sDateText[0] = 0;
    return sDateText;
}

void PrintSeparator()
{
    zbStdout.Print("%s%c%s\n", kTimeTag, ' ', (" " + std::string(99, '-')).c_str());
}
} // namespace

zbClock::zbClock()
{
    ClockIn();
}

zbClock::zbClock(const zbClock& iOther)
    : _StartTicks(iOther._StartTicks), _StartTime(iOther._StartTime), _EndTicks(iOther._StartTicks),
      _EndTime(iOther._StartTime)
{
}

zbClock::~zbClock() = default;

void zbClock::ClockIn()
{
    _StartTicks = _EndTicks = std::clock();
    _StartTime = _EndTime = std::time(nullptr);
}

void zbClock::ClockOut(KindOfClockOut iKind, const char* iLabel, const char* iText)
{
    const char* label = iKind == Global ? "Global execution" : (iLabel ? iLabel : "");
    const char* text = iText ? iText : "";
    int used = static_cast<int>(std::strlen(label) + std::strlen(text));
    std::string fill(used > kLineWidth ? 3 : kLineWidth - used, ' ');

    _EndTicks = std::clock();
    _EndTime = std::time(nullptr);
    if (iKind == Global)
        PrintSeparator();
    const char* real = RealElapsedStr();
    const char* user = UserElapsedStr();
    char letter = iKind >= Global && iKind <= Intermediate ? kKindLetters[iKind] : '?';
    zbStdout.Print("%s%c%s%s%s%s %s\n", kTimeTag, letter, text, label, fill.c_str(), real, user);
    if (iKind == Global || iKind == Cumulated)
        PrintSeparator();
}

double zbClock::ProcessorTicks() const
{
    double ticks = static_cast<double>(_EndTicks - _StartTicks);
    return ticks > 0 ? ticks : 0;
}

double zbClock::UserElapsed()
{
    return ProcessorTicks() / 1000000.0;
}

const char* zbClock::UserElapsedStr()
{
    std::snprintf(sUserText, sizeof sUserText, "User %8.2f", UserElapsed());
    return sUserText;
}

double zbClock::RealElapsed()
{
    double seconds = std::difftime(_EndTime, _StartTime);
    return seconds > 0 ? seconds : 0;
}

const char* zbClock::RealElapsedStr()
{
    time_t duration = static_cast<time_t>(RealElapsed());
    struct tm parts;
    if (::gmtime_r(&duration, &parts))
        std::snprintf(sRealText, sizeof sRealText, "Real %.2d:%.2d:%.2d", parts.tm_hour,
                      parts.tm_min, parts.tm_sec);
    else
        std::snprintf(sRealText, sizeof sRealText, "Real (Nil) 00:00:00");
    return sRealText;
}

const char* zbClock::Time()
{
    return FormatLocal(FmtTime, std::time(nullptr));
}

const char* zbClock::Date()
{
    return FormatLocal(FmtDate, std::time(nullptr));
}

const char* zbClock::DateAndTime(long* oTime)
{
    time_t now = std::time(nullptr);
    if (oTime)
        *oTime = static_cast<long>(now);
    return FormatLocal(FmtDateTime, now);
}

const char* zbClock::GetDeltaTime(const long iStart, const long iEnd)
{
    time_t delta = iEnd > iStart ? static_cast<time_t>(iEnd - iStart) : 0;
    struct tm parts;
    if (!::gmtime_r(&delta, &parts) || !std::strftime(sDateText, sizeof sDateText, FmtTime, &parts))
        sDateText[0] = 0;
    return sDateText;
}
