#include "kernel/Shell.h"

namespace
{
Shell* gShell = nullptr;
}

Shell& GetShell()
{
    static Shell silent;
    return gShell ? *gShell : silent;
}

Shell* SetShell(Shell* shell)
{
    Shell* previous = gShell;
    gShell = shell;
    return previous;
}
