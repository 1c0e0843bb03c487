#ifndef zbMonoProcessing_H
#define zbMonoProcessing_H
// Runs actions one after the other, each to its end, in list order; their
// output is not captured (it goes wherever the action sends it).  Signals
// are trapped first (zbContext::TrapSignals).  Returns the number of
// actions that failed to start or ended with a non-zero status; the run
// goes on after a failure.

#include "zbActionIntf.h"

int zbMonoProcessing(const QORListPtrzbActionIntf& Actions);

#endif
