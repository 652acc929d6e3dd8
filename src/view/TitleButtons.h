#pragma once

#include <wx/bitmap.h>

#include <vector>

// The title-bar buttons of a model pane: which a pane shows for its view type, the mouse mode and
// the model, and their pictures. The pane's OnTitleButton does what each kind asks.

// Button kinds (what the pane receives when one is clicked).
inline constexpr int kTitlePreviousPolyhedron = 0;
inline constexpr int kTitleNextPolyhedron = 1;
inline constexpr int kTitlePreviousStellation = 2;
inline constexpr int kTitleNextStellation = 3;
inline constexpr int kTitlePreviousFaceting = 4;
inline constexpr int kTitleNextFaceting = 5;
inline constexpr int kTitlePreviousElement = 6;
inline constexpr int kTitleNextElement = 7;
inline constexpr int kTitlePreviousMatchingFace = 8;
inline constexpr int kTitleNextMatchingFace = 9;
inline constexpr int kTitleAccept = 10;
inline constexpr int kTitleCancel = 11;
inline constexpr int kTitleMakeBase = 12;
inline constexpr int kTitleMakeBase4D = 13;
inline constexpr int kTitleCompleteFacet = 14;
inline constexpr int kTitleCentre = 15;

struct TitleButtonChoice
{
    int kind;
    int icon;  // 194 .. 210
    bool gap;  // 2 pixels more to the next button on the left
};

// What decides the buttons of one pane.
struct TitleButtonState
{
    int viewType = -1;
    int mouseMode = 0;
    bool model4D = false;
    bool augmentationPreview = false;  // the pane shows the preview of an augmentation
    int netsShownInFoldingView = 0;    // 0 all nets, 1 one type of net, 2 one net
};

// Rightmost first.
std::vector<TitleButtonChoice> ChooseTitleButtons(const TitleButtonState& state);

// The 12 x 11 picture of an icon number; an empty bitmap for another number.
wxBitmap MakeTitleButtonIcon(int icon);
