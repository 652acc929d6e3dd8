#pragma once

#include "library/LayoutSectionData.h"

struct ioFile;

// The layout section of the model file: the layout shown and the stored ratios of every layout
// that has them, in its own tokens (library/LayoutSectionData.h).

// The writer stores what the layout records hold: a scene writer stores the frame's ratios into
// the current record first (NewFrame::StoreRatios).
bool WriteLayoutSection(ioFile* f, int indent);
// Reads up to EndSection or the end of the stream, starting with startLayout as the layout shown
// and the record written to. With apply, every record's stored ratios are replaced by what the
// section gives, and the main window shows the layout read. False after an unexpected token,
// reported as an error of the stream (in an error box when the stream has no message callback of
// its own); what came before it stays.
bool ReadLayoutSection(ioFile* f, int startLayout, bool apply);
