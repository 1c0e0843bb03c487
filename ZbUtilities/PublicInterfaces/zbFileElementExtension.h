#ifndef zbFileElementExtension_H
#define zbFileElementExtension_H
// Services built on file-element trees: looking through a node at what it
// stands for (the directory or the file itself, or what a resolved link
// points to); the runtime view a framework declares (its "framework.data"
// and its modules' "module.data" files), the element names of a kind, how
// the framework wants to be installed; the tokenizer of the list files and
// the reader of a text file as a list of lines.
//
// Reports go to standard error through the trace manager: a framework
// directory that is missing, a tree that cannot be listed and a wildcard
// in the one operating-system name are fatal (-1, the data left as it
// was); a data file that cannot be read is reported, counted, and the walk
// goes on.

#include "QORString.h"
#include "QORUnicodeString.h"
#include "zbNewString.h"
#include "zbRTViewData.h"
#include "zbString.h"

class zbFileElement;

class zbFileElementExtension
{
  public:
    zbFileElementExtension() = delete;

    // The element when it is a directory; its target when it is a resolved
    // link to an existing directory; else null.
    static zbFileElement* GetDirectory(zbFileElement& iElement);
    // The element when it exists and is neither a directory nor a link; its
    // target when it is a resolved link to an existing non-directory; else
    // null.
    static zbFileElement* GetFile(zbFileElement& iElement);

    // The next token of the first iLength bytes of ioText, from ioPosition:
    // null when ioPosition is negative or not below iLength.  A delimiter
    // (one of iDelimiters) ends the token: it is overwritten with a NUL
    // unless iKeepDelimiters, and ioPosition goes past it.  An empty token
    // is skipped unless iReturnEmpty.  A last token that runs to the end of
    // the text is returned with ioPosition at iLength.
    static char* Strtok(char* ioText, const int& iLength, const char* iDelimiters, int& ioPosition,
                        const int& iKeepDelimiters, const int& iReturnEmpty);

    // The runtime view of the framework at iFrameworkPath for one operating
    // system, strictly: the first "framework.data" under various/OS and
    // the "module.data" of each module that has an "Imakefile.mk".
    // oFrameworkDataProblem is 1 unless exactly one "framework.data" was
    // found; oMissingModuleData counts the modules without "module.data".
    // ioLoadedFiles (emptied first) receives the full names of the files
    // read.  -1 on a fatal failure, else the number of files that could not
    // be read.
    static int GetFWRTViewData(const char* iFrameworkPath, const char* iOSName,
                               zbRTViewData& ioData, int& oFrameworkDataProblem,
                               int& oMissingModuleData, const zbRTViewData::PathModification& iMode,
                               QORListValQORUnicodeString* ioLoadedFiles);
    // The same over several operating systems, leniently: every
    // "framework.data" merged, and the "module.data" of each module that
    // has an "Imakefile.mk" (a data file of a module without one is
    // warned about and skipped).  iModuleNames: the module directory
    // patterns ("*.m*" and "*.doc" when null).
    static int GetFWRTViewData(const char* iFrameworkPath, QORListPtrzbString& iOSNames,
                               zbRTViewData& ioData, const zbRTViewData::PathModification& iMode,
                               QORListPtrzbString* iModuleNames);

    // Appends the names of the elements of the second form's view whose
    // type and exposure match the masks: the size of ioNames, or -1 (the
    // view could not be built, or a data file could not be loaded: the
    // names of the others are appended).  The zbString form appends new
    // strings the caller deletes.
    static int GetFWModuleList(const char* iFrameworkPath, QORListPtrzbString& iOSNames,
                               QORListValQORUnicodeString& ioNames, const int iTypeMask,
                               const int iExposureMask, const zbRTViewData::PathModification& iMode,
                               QORListPtrzbString* iModuleNames);
    static int GetFWModuleList(const char* iFrameworkPath, QORListPtrzbString& iOSNames,
                               QORListPtrzbString& ioNames, const int iTypeMask,
                               const int iExposureMask, const zbRTViewData::PathModification& iMode,
                               QORListPtrzbString* iModuleNames);

    // How the framework is installed, from the beginning of its
    // ".installation.mode" (in the framework directory, or in various/ when
    // there is none at all there): 1 "COPYPREQ_INSTALLATION", 10
    // "COPYFW_INSTALLATION", 0 anything else or no such file (a directory or
    // a dangling link in its place), -1 a marker file that cannot be read
    // (reported with its name).
    static int GetInstallType(const char* iFrameworkPath);

    // Appends the lines of a file (split at line feeds; a last line without
    // one only when not empty): with iStripCarriageReturn one carriage
    // return before the line feed dropped, with iSkipEmpty empty lines
    // left out, with iNormalize DOS separators made "/".  The size of
    // ioLines, or -1 when the file cannot be read.  The zbString form
    // appends new strings the caller deletes.
    static int ConvertFileToListOfString(const char* iPath, QORListValQORUnicodeString& ioLines,
                                         const int& iSkipEmpty, const int& iNormalize,
                                         const int& iStripCarriageReturn);
    static int ConvertFileToListOfString(const char* iPath, QORListValQORString& ioLines,
                                         const int& iSkipEmpty, const int& iNormalize,
                                         const int& iStripCarriageReturn);
    static int ConvertFileToListOfString(const char* iPath, QORListValzbNewString& ioLines,
                                         const int& iSkipEmpty, const int& iNormalize,
                                         const int& iStripCarriageReturn);
    static int ConvertFileToListOfString(const char* iPath, QORListPtrzbString& ioLines,
                                         const int& iSkipEmpty, const int& iNormalize,
                                         const int& iStripCarriageReturn);
};

#endif
