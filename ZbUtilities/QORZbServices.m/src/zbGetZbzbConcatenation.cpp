#include "zbGetZbzbConcatenation.h"

#include "zbContext.h"
#include "zbDirectories.h"
#include "zbPathSeparators.h"

void zbGetZbzbConcatenation(QORListValQORString& ioList, const char* iConcatenation,
                            const char* iSubDirectory, const char* iOverride)
{
    QORString suffix = QORString(zbWSPathSeparator) + zbExtContext.OSRuntime();
    if (iSubDirectory)
        suffix += QORString(zbPathSeparator) + iSubDirectory;
    if (iOverride)
        zbSplitPathConcatenation(ioList, iOverride, zbPathConcatSeparator[0]);
    zbSplitPathConcatenation(ioList, iConcatenation, zbPathConcatSeparator[0]);
    for (QORString& entry : ioList)
        entry += suffix;
    QORListValQORString runtimeOnly(ioList);
    QORString buildtime = QORString(zbPathSeparator) + zbExtContext.OSBuildtime();
    for (QORString& entry : ioList)
        entry += buildtime;
    ioList.Append(runtimeOnly);
}
