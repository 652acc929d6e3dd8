#include "platform/ReplaceControl.h"

#include <wx/sizer.h>
#include <wx/window.h>

void ReplaceControl(wxWindow* placeholder, wxWindow* replacement)
{
    if (!placeholder || !replacement || placeholder == replacement)
        return;
    replacement->MoveAfterInTabOrder(placeholder);
    if (wxSizer* sizer = placeholder->GetContainingSizer())
    {
        replacement->SetInitialSize(placeholder->GetSize());
        sizer->Replace(placeholder, replacement);
    }
    else
        replacement->SetSize(placeholder->GetRect());
    placeholder->Destroy();
}
