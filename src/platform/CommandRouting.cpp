#include "platform/CommandRouting.h"

#include <wx/event.h>

namespace
{
int gCommandDepth = 0;
}  // namespace

bool IsRoutedCommand(const wxEvent& event)
{
    return event.GetEventType() == wxEVT_MENU || event.GetEventType() == wxEVT_UPDATE_UI;
}

bool RouteCommandToViewAndDocument(wxEvent& event, wxEvtHandler* view, wxEvtHandler* document)
{
    for (wxEvtHandler* handler : {view, document})
    {
        if (!handler)
            continue;
        // Locally: a view must not pass the command on to its parents, which would bring it back
        // to the frame before the document has seen it.
        event.Skip(false);
        if (handler->ProcessEventLocally(event))
            return true;
    }
    return false;
}

CommandScope::CommandScope()
{
    ++gCommandDepth;
}

CommandScope::~CommandScope()
{
    --gCommandDepth;
}

bool IsCommandRunning()
{
    return gCommandDepth > 0;
}
