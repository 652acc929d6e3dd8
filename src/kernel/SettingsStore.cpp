#include "kernel/SettingsStore.h"

namespace
{
SettingsStore* gStore = nullptr;
}  // namespace

SettingsStore* SetSettingsStore(SettingsStore* store)
{
    SettingsStore* previous = gStore;
    gStore = store;
    return previous;
}

SettingsStore* GetSettingsStore()
{
    return gStore;
}
