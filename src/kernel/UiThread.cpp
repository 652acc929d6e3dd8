#include "kernel/UiThread.h"

#include <thread>

namespace
{
std::thread::id gUiThread = std::this_thread::get_id();
}

void RecordUiThread()
{
    gUiThread = std::this_thread::get_id();
}

bool IsUiThread()
{
    return std::this_thread::get_id() == gUiThread;
}
