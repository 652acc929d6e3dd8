#pragma once

#include "kernel/UserServices.h"

// The wait cursor for the life of the scope.
class ScopedWaitCursor
{
public:
    ScopedWaitCursor() { Services().BeginWaitCursor(); }
    ~ScopedWaitCursor() { Services().EndWaitCursor(); }
    ScopedWaitCursor(const ScopedWaitCursor&) = delete;
    ScopedWaitCursor& operator=(const ScopedWaitCursor&) = delete;
};
