#pragma once

#include "render/CaptionWnd.h"

class CPolyView;

// The caption strip of a model pane: the pane's title, with the title-bar buttons its view type
// offers (CPolyView::DefineTitleButtons).
class PolyCaptionWnd : public CaptionWnd
{
public:
    explicit PolyCaptionWnd(CPolyView* view);
};
