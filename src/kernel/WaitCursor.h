#pragma once

#include "kernel/UserServices.h"

// Shows the wait cursor for the life of the scope.
class WaitCursor
{
public:
    WaitCursor() { Services().BeginWaitCursor(); }
    ~WaitCursor() { Services().EndWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
