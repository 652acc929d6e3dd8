#pragma once

#include <string>

// The label markup: bold, italic, fonts, sizes, colours, sub- and superscripts, lists, centred and
// right-aligned lines, indentation, shadow, glow, links that can be picked, text that depends on the
// selection, and a few character entities. GLFont::DrawHtml interprets it.

inline constexpr int kHtmlListLevels = 20;

// The style the markup is at: list depth and one counter per level (-1 bulleted, else the next
// number), run flags, size, colour and glow.
struct HtmlTextStyle
{
    int listDepth = 0;
    int counters[kHtmlListLevels];
    int flags = 0;
    float size = 1.0f;
    float color[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float glow = 0.0f;

    HtmlTextStyle()
    {
        for (int& c : counters)
            c = -1;
    }
};

// A link named in a picking pass: its target, its "id=" (-1 when none) and the caller's data.
struct HtmlLink
{
    std::string target;
    int id = -1;
    int data = 0;
};

// Forgets the links of the last picking pass; links drawn while the view picks with a mode that
// shares a bit with mask get selection names of itemType, numbered from 0.
void ClearHtmlLinks(int mask, int itemType);
// The link of that selection index, or null.
const HtmlLink* GetHtmlLink(int index);
int CountHtmlLinks();
