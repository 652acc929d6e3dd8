#pragma once

#include "kernel/Shell.h"

#include <string>
#include <vector>

// A shell for core tests: records what core code asked of the views, the Model Info tree and the
// undo list, in order, as short texts ("InvalidateAll", "ViewsOfType 65536", "Undo 26", "Info 1").
class RecordingShell : public Shell
{
public:
    std::vector<std::string> calls;

    int Count(const std::string& call) const
    {
        int n = 0;
        for (const std::string& c : calls)
            n += c == call;
        return n;
    }

    void InvalidateAllViews(bool, int) override { calls.push_back("InvalidateAll"); }
    void InvalidateViewsOfType(int typeMask, int) override
    {
        calls.push_back("ViewsOfType " + std::to_string(typeMask));
    }
    void InfoNeedsUpdate(int mask) override { calls.push_back("Info " + std::to_string(mask)); }
    void AddUndo(int kind, bool) override { calls.push_back("Undo " + std::to_string(kind)); }
};

// Installs a shell for the life of the scope.
class ScopedShell
{
public:
    explicit ScopedShell(Shell* shell) : mPrevious(SetShell(shell)) {}
    ~ScopedShell() { SetShell(mPrevious); }
    ScopedShell(const ScopedShell&) = delete;
    ScopedShell& operator=(const ScopedShell&) = delete;

private:
    Shell* mPrevious;
};
