#include "platform/ToolBarUtils.h"

#include <wx/aui/auibar.h>

bool DeleteToolBarButton(wxAuiToolBar* toolbar, int command)
{
    if (!toolbar || !toolbar->DeleteTool(command))
        return false;
    toolbar->Realize();
    return true;
}

void RemoveExtraSeparators(wxAuiToolBar* toolbar)
{
    if (!toolbar)
        return;
    bool afterSeparator = true;  // the start counts as one
    for (int i = 0; i < int(toolbar->GetToolCount());)
    {
        const bool separator = toolbar->FindToolByIndex(i)->GetKind() == wxITEM_SEPARATOR;
        if (separator && afterSeparator)
        {
            toolbar->DeleteByIndex(i);
            continue;
        }
        afterSeparator = separator;
        ++i;
    }
    const int last = int(toolbar->GetToolCount()) - 1;
    if (last >= 0 && toolbar->FindToolByIndex(last)->GetKind() == wxITEM_SEPARATOR)
        toolbar->DeleteByIndex(last);
    toolbar->Realize();
}
