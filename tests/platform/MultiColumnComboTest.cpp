// Three-column choice lists: how items split into columns, how rows are drawn and how wide the list
// drops down.

#include "platform/DialogUtils.h"
#include "platform/MultiColumnCombo.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/display.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/settings.h>

#include <functional>
#include <string>
#include <vector>

namespace
{
struct Item
{
    std::string text;
    uint32_t color = MultiColumnComboItem::kPlain;
};

// The pixels of one drawn row.
wxImage DrawnRow(const MultiColumnCombo& combo, int row, bool selected)
{
    wxBitmap bitmap(200, 20, 24);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(*wxGREEN_BRUSH);
        dc.Clear();
        combo.DrawRow(dc, wxRect(0, 0, 200, 20), row, selected);
    }
    return bitmap.ConvertToImage();
}

bool Has(const wxImage& image, const wxRect& rect, const wxColour& color)
{
    for (int y = rect.y; y <= rect.GetBottom(); ++y)
        for (int x = rect.x; x <= rect.GetRight(); ++x)
            if (image.GetRed(x, y) == color.Red() && image.GetGreen(x, y) == color.Green() &&
                image.GetBlue(x, y) == color.Blue())
                return true;
    return false;
}

wxColour At(const wxImage& image, int x, int y)
{
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}
}  // namespace

TEST(MultiColumnComboTest, ColumnsRowsAndDropWidth)
{
    if (!WxTestAppRunning())
        GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
    const wxRect screen = wxDisplay(0u).GetGeometry();
    const int v = wxSystemSettings::GetMetric(wxSYS_VSCROLL_X);
    const int edge = std::max(wxSystemSettings::GetMetric(wxSYS_EDGE_X), 0);

    struct Case
    {
        const char* name;
        std::vector<Item> items;
        int frameX;  // where the combo's window stands on the screen
        std::function<void(MultiColumnCombo&)> check;
    };
    const Case kCases[] = {
        {"no tabs: column 1 only, and no scroll bar width for other columns",
         {{"Tetrahedron"}, {"Cube"}},
         20,
         [&](MultiColumnCombo& combo) {
             EXPECT_EQ(combo.GetItem(0).columns[0], "Tetrahedron");
             EXPECT_EQ(combo.GetItem(0).columns[1], "");
             EXPECT_EQ(combo.GetItem(0).columns[2], "");
             combo.MeasureColumns();
             EXPECT_EQ(combo.MeasuredWidth(1), 1);
             EXPECT_EQ(combo.MeasuredWidth(2), 1);
             EXPECT_EQ(combo.DropWidth(), combo.MeasuredWidth(0) + 1 + 1 + 5 + v + 2 * edge);
             EXPECT_EQ(combo.Column2Pos(), combo.MeasuredWidth(0) + v);
         }},
        {"a second column adds a scroll bar width",
         {{"Tetrahedron\t[3,3]"}, {"Cube"}},
         20,
         [&](MultiColumnCombo& combo) {
             combo.MeasureColumns();
             EXPECT_GT(combo.MeasuredWidth(1), 1);
             EXPECT_EQ(combo.DropWidth(), combo.MeasuredWidth(0) + combo.MeasuredWidth(1) + 1 + 5 + 2 * v + 2 * edge);
             EXPECT_EQ(combo.Column3Pos(), combo.MeasuredWidth(0) + combo.MeasuredWidth(1) + 2 * v);
         }},
        {"three tabs: the third stays in column 3",
         {{"Ih\t120\tfull icosahedral\tsymmetry"}},
         20,
         [&](MultiColumnCombo& combo) {
             EXPECT_EQ(combo.GetItem(0).columns[0], "Ih");
             EXPECT_EQ(combo.GetItem(0).columns[1], "120");
             EXPECT_EQ(combo.GetItem(0).columns[2], "full icosahedral\tsymmetry");
         }},
        {"coloured rows: sum 382 is dark, 383 light; selected rows are framed",
         {{"dark", 0x7F7F80}, {"light", 0x7F8080}},
         20,
         [&](MultiColumnCombo& combo) {
             const wxRect text(2, 1, 40, 17);
             const wxImage dark = DrawnRow(combo, 0, false);
             EXPECT_TRUE(Has(dark, text, *wxWHITE));
             EXPECT_FALSE(Has(dark, text, *wxBLACK));
             EXPECT_EQ(At(dark, 100, 10), wxColour(128, 127, 127));
             const wxImage light = DrawnRow(combo, 1, false);
             EXPECT_TRUE(Has(light, text, *wxBLACK));
             EXPECT_FALSE(Has(light, text, *wxWHITE));
             const wxImage darkSelected = DrawnRow(combo, 0, true);
             EXPECT_EQ(At(darkSelected, 0, 0), wxColour(255, 255, 0));
             EXPECT_EQ(At(darkSelected, 1, 1), wxColour(255, 255, 0));
             EXPECT_EQ(At(darkSelected, 100, 10), wxColour(128, 127, 127));
             const wxImage lightSelected = DrawnRow(combo, 1, true);
             EXPECT_EQ(At(lightSelected, 199, 19), wxColour(0, 0, 255));
             EXPECT_EQ(At(lightSelected, 198, 18), wxColour(0, 0, 255));
             EXPECT_TRUE(Has(lightSelected, text, wxColour(0, 0, 255)));
         }},
        {"the automatic width stops at the screen's right edge",
         {{std::string(60, 'W') + "\t" + std::string(40, 'M') + "\t" + std::string(40, 'M')}},
         screen.GetRight() - 150,
         [&](MultiColumnCombo& combo) {
             combo.MeasureColumns();
             EXPECT_EQ(combo.DropWidth(), screen.GetRight() + 1 - combo.GetScreenPosition().x);
         }},
        {"no row selected: the item of row 0",
         {{"first"}, {"second"}},
         20,
         [&](MultiColumnCombo& combo) {
             EXPECT_EQ(combo.GetSelection(), wxNOT_FOUND);
             EXPECT_EQ(combo.GetCurSelItem(), 0);
             EXPECT_EQ(combo.GetItemColor(-1), MultiColumnComboItem::kPlain);
             EXPECT_EQ(combo.GetItemColor(7), MultiColumnComboItem::kPlain);
             combo.SetCurSel(1);
             EXPECT_EQ(combo.GetCurSelItem(), 1);
         }},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        auto* frame = new wxFrame(nullptr, wxID_ANY, "Combo", wxPoint(c.frameX, 100), wxSize(140, 60));
        auto* combo = new MultiColumnCombo(frame, wxID_ANY, wxPoint(0, 0), wxSize(140, -1));
        combo->SetColumnLayout(-1, -1, -1);
        for (const Item& item : c.items)
            combo->AddItem(item.text, item.color);
        EXPECT_EQ(combo->GetItemCount(), int(c.items.size()));
        frame->Show();
        PumpEventsUntil([combo] { return combo->IsShownOnScreen(); });
        c.check(*combo);
        combo->RemoveAllItems();
        EXPECT_EQ(combo->GetItemCount(), 0);
        EXPECT_EQ(combo->GetCount(), 0u);
        frame->Destroy();
        PumpEventsUntil([frame] { return !wxTopLevelWindows.Find(frame); }, 200);
    }
}

TEST(MultiColumnComboTest, FixedColumnsAndTheToolbarLayout)
{
    if (!WxTestAppRunning())
        GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
    auto* frame = new wxFrame(nullptr, wxID_ANY, "Combo", wxPoint(20, 100), wxSize(140, 60));
    auto* combo = new MultiColumnCombo(frame, wxID_ANY);
    combo->SetColumnLayout(40, 44, -1);
    combo->AddItem("C3v\t6\tpyramid");
    frame->Show();
    PumpEventsUntil([combo] { return combo->IsShownOnScreen(); });
    combo->MeasureColumns();
    EXPECT_EQ(combo->Column2Pos(), 40);
    EXPECT_EQ(combo->Column3Pos(), 84);
    const int v = wxSystemSettings::GetMetric(wxSYS_VSCROLL_X);
    EXPECT_EQ(combo->MeasuredWidth(0), 40 - v);
    EXPECT_EQ(combo->MeasuredWidth(1), 84 - 2 * v - (40 - v));
    frame->Destroy();
    PumpEventsUntil([frame] { return !wxTopLevelWindows.Find(frame); }, 200);
}

TEST(FitComboDropWidthTest, WidestItemPlusEdgesAndScrollBarWithinTheScreen)
{
    if (!WxTestAppRunning())
        GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
    const wxRect screen = wxDisplay(0u).GetGeometry();
    const int v = wxSystemSettings::GetMetric(wxSYS_VSCROLL_X);
    const int edge = std::max(wxSystemSettings::GetMetric(wxSYS_EDGE_X), 0);
    for (const int x : {20, screen.GetRight() - 60})
    {
        SCOPED_TRACE(x);
        auto* frame = new wxFrame(nullptr, wxID_ANY, "Fit", wxPoint(x, 100), wxSize(60, 40));
        auto* combo = new wxOwnerDrawnComboBox(frame, wxID_ANY, wxString(), wxPoint(0, 0), wxSize(60, -1),
                                               wxArrayString(), wxCB_READONLY);
        combo->Append("Short");
        combo->Append("A rather longer choice");
        frame->Show();
        PumpEventsUntil([combo] { return combo->IsShownOnScreen(); });
        const int widest = combo->GetTextExtent("A rather longer choice").x;
        const int room = screen.GetRight() + 1 - combo->GetScreenPosition().x;
        EXPECT_EQ(FitComboDropWidth(combo), std::min(widest + 5 + 2 * edge + v, room));
        frame->Destroy();
        PumpEventsUntil([frame] { return !wxTopLevelWindows.Find(frame); }, 200);
    }
    EXPECT_EQ(FitComboDropWidth(nullptr), 0);
}
