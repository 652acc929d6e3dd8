#pragma once

#include "kernel/TokenFile.h"

// The pane-layout section of model files as plain records: its own tokens and layout names, and the
// reading of a section into records. The main window writes its layouts with these names and
// applies what is read (ui/LayoutSection.h); without a main window a section is read and dropped
// through this alone, so that a model file reads anywhere.

inline constexpr int kLayoutTokenEndSection = 0;
inline constexpr int kLayoutTokenCurrentLayout = 1;
inline constexpr int kLayoutTokenLayout = 2;
inline constexpr int kLayoutTokenRatios = 3;

// The layouts a section can name, and the ratios a record keeps.
inline constexpr int kLayoutSectionLayouts = 11;
inline constexpr int kLayoutSectionRatios = 3;

// The section's token names in ASCII; null past the last.
const char* LayoutSectionTokenName(int token);
// "Layout1", "Layout2", "Layout3Equal", ... "Layout6", by layout index.
extern const ioEnumEntry kLayoutSectionNames[];

// One layout's stored ratios as read: the count as the file gives it (-1 when the section has
// none for the layout), of which the first kLayoutSectionRatios are kept.
struct LayoutSectionRecord
{
    int ratioCount = -1;
    float ratios[kLayoutSectionRatios] = {};
};

struct LayoutSectionData
{
    int current = -1;  // the layout to show; may name no layout of ours
    LayoutSectionRecord records[kLayoutSectionLayouts];
};

// Reads up to EndSection or the end of the stream. startLayout is the layout shown, and the record
// ratios go to, until the section names others. False after an unexpected token or an absurd count
// of ratios, reported as one error of the stream; what came before it stays in data.
bool ReadLayoutSectionData(ioFile* f, int startLayout, LayoutSectionData& data);
