#include "view/PolyCaptionWnd.h"

#include "view/PolyView.h"

PolyCaptionWnd::PolyCaptionWnd(CPolyView* view) : CaptionWnd(view)
{
}
