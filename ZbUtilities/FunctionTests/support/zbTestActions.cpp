#include "zbTestActions.h"

#include <cstdio>

#include "zbShellAction.h"

QOR_IMPLEMENT_CLASS(zbTestInlineAction, zbActionIntf)

int zbTestInlineAction::Start(int& ProcessHandle, int /*Verbose*/)
{
    ProcessHandle = 0;
    ++_Runs;
    if (!_Say.empty())
    {
        std::printf("%s\n", _Say.c_str());
        std::fflush(stdout);
    }
    return _Result;
}

namespace zbtest
{
int TestActionsLinked()
{
    return 1;
}

zbActionIntf* ShellAction(const std::string& iCommand)
{
    zbShellAction* action = new zbShellAction();
    action->SetCommand(iCommand.c_str());
    return action;
}
} // namespace zbtest
