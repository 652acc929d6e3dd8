#include "kernel/UserServices.h"

#include "kernel/ScriptedServices.h"

namespace
{
UserServices* gServices = nullptr;

UserServices& SilentServices()
{
    static ScriptedServices silent;
    // Keeps the stand-in from growing without bound in a long run.
    if (silent.calls.size() > 1000)
        silent.calls.clear();
    return silent;
}
}  // namespace

UserServices& Services()
{
    return gServices ? *gServices : SilentServices();
}

UserServices* SetServices(UserServices* services)
{
    UserServices* previous = gServices;
    gServices = services;
    return previous;
}
