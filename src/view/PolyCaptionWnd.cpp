#include "view/PolyCaptionWnd.h"

#include "view/PolyView.h"

PolyCaptionWnd::PolyCaptionWnd(CPolyView* view) : CaptionWnd(view)
{
    DefineTitleButtons();
}

void PolyCaptionWnd::DefineTitleButtons()
{
    // The view-type menu and the per-type buttons come with their commands; until then the strip
    // shows the title alone.
    if (NewView* view = GetView())
        if (view->GetButtonCount() != 0)
            view->SetButtonCount(0);
}
