#pragma once

#include "view/PolyView.h"

// The panes of the pane layouts are the program's model views.
using ModelPane = CPolyView;
