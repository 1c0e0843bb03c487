#include "zbMonoProcessing.h"

#include "zbContext.h"
#include "zbProcess.h"

int zbMonoProcessing(const QORListPtrzbActionIntf& Actions)
{
    zbExtContext.TrapSignals();
    zbProcess process;
    int failures = 0;
    for (auto* action : Actions)
    {
        if (process.Create(action, zbExtContext._Verbose) != 0)
        {
            ++failures;
            continue;
        }
        int status = 0;
        process.Wait(status, 0);
        if (status != 0)
            ++failures;
    }
    return failures;
}
