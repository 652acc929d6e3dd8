#pragma once

#include "render/CaptionWnd.h"

class CPolyView;

// The caption strip of a model pane: the pane's title, with the title-bar buttons its view type
// offers.
class PolyCaptionWnd : public CaptionWnd
{
public:
    explicit PolyCaptionWnd(CPolyView* view);
    // The buttons of the pane's current type; types with no buttons of their own show none.
    void DefineTitleButtons();
};
