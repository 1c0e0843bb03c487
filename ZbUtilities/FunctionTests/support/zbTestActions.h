#ifndef zbTestActions_H
#define zbTestActions_H
// Actions of the suites, registered with the component model by class
// name (so zbActionFactory creates them):
//   zbTestInlineAction   does its work inside Start (handle 0) and returns
//                        the result it was given (0 by default); counts its
//                        runs and can print a line on standard output.
// A shell command is run by the library's own zbShellAction.

#include <string>

#include "zbActionIntf.h"

class zbTestInlineAction : public zbActionIntf
{
    QOR_DECLARE_CLASS(zbTestInlineAction)

  public:
    explicit zbTestInlineAction(int iResult = 0, const std::string& iSay = "")
        : _Result(iResult), _Say(iSay)
    {
    }
    int Start(int& ProcessHandle, int Verbose) override;
    void SetStdoutFile(const char* FileName) override { _Stdout = FileName ? FileName : ""; }
    void SetStderrFile(const char* FileName) override { _Stderr = FileName ? FileName : ""; }

    int _Result;
    int _Runs = 0;
    std::string _Say;    // printed with printf on each run when not empty
    std::string _Stdout; // as given by the runner
    std::string _Stderr;
};

namespace zbtest
{
// 1; called from every file that includes this header, so that the
// classes (registered by the static initialisation of their own file) are
// linked in even when only their names are used.
int TestActionsLinked();
static const int kTestActionsLinked = TestActionsLinked();

zbActionIntf* ShellAction(const std::string& iCommand);
template <class List> void ReleaseAll(List& ioActions)
{
    for (zbActionIntf* action : ioActions)
        action->Release();
}
} // namespace zbtest

#endif
