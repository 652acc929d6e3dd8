// The report list under the pointer and the keyboard: clicks, editors, sorting, colours and drags.

#include "GuiInput.h"
#include "platform/CellEditors.h"
#include "platform/DropMarker.h"
#include "platform/MultiColumnCombo.h"
#include "platform/NewListCtrl.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>
#include <wx/combo.h>
#include <wx/combobox.h>
#include <wx/dcclient.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace
{
// A list whose rows can be dragged and whose choice cells offer a short and a long choice.
class TestList : public NewListCtrl
{
public:
    using NewListCtrl::NewListCtrl;

    std::vector<std::pair<int, int>> drops;
    std::vector<std::string> choices = {"Short", "A choice much longer than its column is wide"};

protected:
    bool CanDragRow(int) override { return true; }
    void OnRowDropped(NewListCtrl* target, int from, int to) override
    {
        EXPECT_EQ(target, this);
        drops.emplace_back(from, to);
    }
    void OnChoiceCell(int row, int column) override { OpenCellCombo(row, column, choices, 0); }
};

struct EditNote
{
    int row;
    int column;
    std::optional<std::string> text;  // none when the edit was cancelled
};

class NewListCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!WxTestAppRunning())
            GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
        mFrame = new wxFrame(nullptr, wxID_ANY, "List", wxPoint(40, 40), wxSize(420, 260));
        list = new TestList(mFrame, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLC_REPORT | wxLC_SINGLE_SEL);
        list->AppendColumn("Name", wxLIST_FORMAT_LEFT, 120);
        list->AppendColumn("Value", wxLIST_FORMAT_LEFT, 100);
        list->AppendColumn("Shown", wxLIST_FORMAT_LEFT, 80);
        const char* const rows[][3] = {{"Cube", "6", "Yes"}, {"Tetrahedron", "4", "No"},
                                       {"Dodecahedron", "12", "Maybe"}, {"Octahedron", "8", "Yes"}};
        for (const auto& row : rows)
        {
            const long item = list->InsertItem(list->GetItemCount(), row[0]);
            list->SetItem(item, 1, row[1]);
            list->SetItem(item, 2, row[2]);
        }
        list->Bind(wxEVT_LIST_BEGIN_LABEL_EDIT, [this](wxListEvent& e) {
            begins.push_back({int(e.GetIndex()), e.GetColumn(), std::nullopt});
            if (refuseEdits)
                e.Veto();
        });
        list->Bind(wxEVT_LIST_END_LABEL_EDIT, [this](wxListEvent& e) {
            ends.push_back({int(e.GetIndex()), e.GetColumn(),
                            e.IsEditCancelled() ? std::nullopt : std::optional<std::string>(e.GetLabel().utf8_string())});
        });
        list->SetSelectCallback([this](int row, bool selected) { selections.emplace_back(row, selected); });
        mFrame->Show();
        PumpEventsUntil([this] { return list->IsShownOnScreen() && GuiInput::MouseWindow(list->RowsWindow()); });
        list->SetFocus();
    }
    void TearDown() override
    {
        if (mFrame)
        {
            wxFrame* frame = mFrame;
            frame->Destroy();
            PumpEventsUntil([frame] { return !wxTopLevelWindows.Find(frame); }, 200);
        }
    }

    // The centre of a cell in the rows window.
    wxWindow* Header() const
    {
        for (wxWindow* child : list->GetChildren())
            if (child != list->RowsWindow())
                return child;
        return nullptr;
    }
    wxPoint CellPoint(int row, int column) const
    {
        const wxRect cell = list->CellRect(row, column);
        return cell.GetPosition() + wxSize(cell.width / 2, cell.height / 2) - list->RowsWindow()->GetPosition();
    }
    void ClickCell(int row, int column, unsigned modifiers = 0)
    {
        GuiInput::Click(list->RowsWindow(), CellPoint(row, column), modifiers);
        Settle();
    }
    static void Settle(int rounds = 20)
    {
        PumpEventsUntil([] { return false; }, rounds);
    }
    bool IsSelected(int row) const { return list->GetItemState(row, wxLIST_STATE_SELECTED) != 0; }
    std::vector<std::string> Column(int column) const
    {
        std::vector<std::string> texts;
        for (int row = 0; row < list->GetItemCount(); ++row)
            texts.push_back(list->GetItemText(row, column).utf8_string());
        return texts;
    }

    TestList* list = nullptr;
    std::vector<EditNote> begins;
    std::vector<EditNote> ends;
    std::vector<std::pair<int, int>> selections;
    bool refuseEdits = false;

private:
    wxFrame* mFrame = nullptr;
};
}  // namespace

TEST_F(NewListCtrlTest, AFirstClickSelectsAndASecondOpensTheEditorNeverInTheFirstColumn)
{
    ClickCell(1, 1);
    EXPECT_TRUE(IsSelected(1));
    EXPECT_EQ(list->OpenEditor(), nullptr);
    EXPECT_TRUE(begins.empty());
    EXPECT_EQ(selections, (std::vector<std::pair<int, int>>{{1, 1}}));
    EXPECT_EQ(list->LastClickedColumn(), 1);

    ClickCell(1, 0);
    EXPECT_EQ(list->OpenEditor(), nullptr);
    EXPECT_TRUE(begins.empty());

    ClickCell(1, 1);
    ASSERT_EQ(begins.size(), 1u);
    EXPECT_EQ(begins[0].row, 1);
    EXPECT_EQ(begins[0].column, 1);
    auto* edit = dynamic_cast<CellEdit*>(list->OpenEditor());
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->GetValue(), "4");
    EXPECT_EQ(edit->GetId(), NewListCtrl::kEditorId);
    // Inside the cell: 4 pixels in from its left edge, 3 short of its right edge.
    const wxRect cell = list->CellRect(1, 1);
    const wxRect box = edit->GetRect();
    EXPECT_EQ(box.x, cell.x + 4 - list->RowsWindow()->GetPosition().x);
    EXPECT_EQ(box.width, cell.width - 7);
}

TEST_F(NewListCtrlTest, EscapeCancelsEnterSendsTheTypedTextARefusedBeginOpensNothing)
{
    ClickCell(2, 1);
    ClickCell(2, 1);
    ASSERT_NE(list->OpenEditor(), nullptr);
    GuiInput::Key(list->OpenEditor(), GDK_KEY_7);
    Settle();
    GuiInput::Key(list->OpenEditor(), GDK_KEY_Escape);
    Settle();
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_FALSE(ends[0].text.has_value());
    EXPECT_EQ(list->GetItemText(2, 1), "12");
    EXPECT_EQ(list->OpenEditor(), nullptr);

    ClickCell(2, 1);
    ASSERT_NE(list->OpenEditor(), nullptr);
    for (guint key : {GDK_KEY_3, GDK_KEY_0})
        GuiInput::Key(list->OpenEditor(), key);
    Settle();
    GuiInput::Key(list->OpenEditor(), GDK_KEY_Return);
    Settle();
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_EQ(ends[1].row, 2);
    EXPECT_EQ(ends[1].column, 1);
    EXPECT_EQ(ends[1].text, std::optional<std::string>("30"));
    // The owner stores the text, not the list.
    EXPECT_EQ(list->GetItemText(2, 1), "12");

    refuseEdits = true;
    ClickCell(2, 1);
    EXPECT_EQ(begins.size(), 3u);
    EXPECT_EQ(list->OpenEditor(), nullptr);
    EXPECT_EQ(ends.size(), 2u);
}

TEST_F(NewListCtrlTest, YesNoCellsFlipAtOnceEvenOnAnUnselectedRow)
{
    list->SetColumnSortTypes({1, 1, NewListCtrl::kYesNo});
    ClickCell(0, 2);
    EXPECT_EQ(list->GetItemText(0, 2), "No");
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0].text, std::optional<std::string>("No"));
    ClickCell(1, 2);
    EXPECT_EQ(list->GetItemText(1, 2), "Yes");
    EXPECT_EQ(ends.size(), 2u);
    // "Maybe" starts with neither letter: unchanged, and no end notification.
    ClickCell(2, 2);
    EXPECT_EQ(list->GetItemText(2, 2), "Maybe");
    EXPECT_EQ(ends.size(), 2u);
    EXPECT_EQ(list->OpenEditor(), nullptr);
}

TEST_F(NewListCtrlTest, AChoiceCellDropsDownAsWideAsItsLongestChoice)
{
    list->SetColumnSortTypes({1, NewListCtrl::kChoice, 1});
    ClickCell(3, 1);
    ClickCell(3, 1);
    auto* combo = dynamic_cast<CellCombo*>(list->OpenEditor());
    ASSERT_NE(combo, nullptr);
    PumpEventsUntil([combo] { return combo->IsPopupShown(); }, 200);
    ASSERT_TRUE(combo->IsPopupShown());
    wxClientDC dc(combo);
    dc.SetFont(combo->GetFont());
    EXPECT_GE(combo->GetPopupWindow()->GetSize().x, dc.GetTextExtent(wxString(list->choices[1])).x + 5);
    EXPECT_GT(combo->GetPopupWindow()->GetSize().x, list->GetColumnWidth(1));
    wxWindow* popup = combo->GetPopupControl()->GetControl();
    GuiInput::Key(popup, GDK_KEY_Down);
    Settle();
    GuiInput::Key(popup, GDK_KEY_Return);
    PumpEventsUntil([this] { return !ends.empty(); }, 200);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0].text, std::optional<std::string>(list->choices[1]));
    Settle();

    ClickCell(3, 1);
    combo = dynamic_cast<CellCombo*>(list->OpenEditor());
    ASSERT_NE(combo, nullptr);
    PumpEventsUntil([combo] { return combo->IsPopupShown(); }, 200);
    GuiInput::Key(combo->GetPopupControl()->GetControl(), GDK_KEY_Escape);
    PumpEventsUntil([this] { return ends.size() == 2; }, 200);
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_FALSE(ends[1].text.has_value());
}

TEST_F(NewListCtrlTest, RowColoursGiveReadableTextAndDisabledRowsAreGreyAndNeverSelected)
{
    list->SetItemColors(0, 0x7F7F80);  // 128 + 127 + 127 = 382
    list->SetItemColors(1, 0x7F8080);  // 383
    EXPECT_EQ(list->GetItemBackgroundColour(0), wxColour(128, 127, 127));
    EXPECT_EQ(list->GetItemTextColour(0), *wxWHITE);
    EXPECT_EQ(list->GetItemTextColour(1), *wxBLACK);

    list->SetItemDisabled(2, true);
    EXPECT_TRUE(list->IsItemDisabled(2));
    EXPECT_EQ(list->GetItemTextColour(2), wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT));
    ClickCell(2, 1);
    EXPECT_FALSE(IsSelected(2));
    ClickCell(2, 1);
    EXPECT_EQ(list->OpenEditor(), nullptr);
    EXPECT_TRUE(begins.empty());
    list->SetItemState(2, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    EXPECT_FALSE(IsSelected(2));

    list->SetItemDisabled(2, false);
    ClickCell(2, 1);
    EXPECT_TRUE(IsSelected(2));
}

TEST_F(NewListCtrlTest, SortingKindsBlanksTiesAndTheHeaderArrow)
{
    list->DeleteAllItems();
    const char* const rows[][3] = {{"2", "b", "x"}, {"10", "a", "y"}, {"", "c", "x"}, {"2", "a", "z"}};
    for (const auto& row : rows)
    {
        const long item = list->InsertItem(list->GetItemCount(), row[0]);
        list->SetItem(item, 1, row[1]);
        list->SetItem(item, 2, row[2]);
    }
    list->SetSecondarySortColumn(1, true);
    list->SetColumnSortTypes({1, 2, 2});
    list->SortByColumn(0, true);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"2", "2", "10", ""}));
    EXPECT_EQ(Column(1), (std::vector<std::string>{"a", "b", "a", "c"}));  // the tie by column 1
    list->SortByColumn(0, false);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"10", "2", "2", ""}));  // blanks last both ways
    list->SetColumnSortTypes({3, 2, 2});
    list->SortByColumn(0, true);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"", "10", "2", "2"}));
    // Row ids follow their rows.
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(list->GetItemText(row, 2).utf8_string(), rows[list->GetItemId(row)][2]);

    // Header clicks: ascending, then descending, then ascending again.
    list->SetColumnSortTypes({1, 2, 2});
    EXPECT_FALSE(list->EnableSorting(true));
    wxWindow* header = Header();
    ASSERT_NE(header, nullptr);
    const wxPoint valueHeading(list->GetColumnWidth(0) + 30, header->GetClientSize().y / 2);
    const std::vector<std::string> down = {"c", "b", "a", "a"};
    const std::vector<std::string> up = {"a", "a", "b", "c"};
    for (const auto& expected : {up, down, up})
    {
        GuiInput::Click(header, valueHeading);
        PumpEventsUntil([&] { return Column(1) == expected && list->SortColumn() == 1; }, 300);
        EXPECT_EQ(Column(1), expected);
        EXPECT_EQ(list->GetSortIndicator(), 1);
        EXPECT_EQ(list->IsAscendingSortIndicator(), expected == up);
        Settle(60);  // apart enough not to make a double click
    }
}

TEST_F(NewListCtrlTest, TheSelectCallbackFollowsClicksAndArrowKeys)
{
    ClickCell(0, 0);
    EXPECT_EQ(selections, (std::vector<std::pair<int, int>>{{0, 1}}));
    GuiInput::Key(list->RowsWindow(), GDK_KEY_Down);
    PumpEventsUntil([this] { return selections.size() == 2; }, 200);
    EXPECT_EQ(selections, (std::vector<std::pair<int, int>>{{0, 1}, {1, 1}}));
    EXPECT_TRUE(IsSelected(1));

    // Ctrl-click on the selected row keeps it selected unless the list lets Ctrl deselect.
    ClickCell(1, 0, GuiInput::kCtrl);
    EXPECT_TRUE(IsSelected(1));
    EXPECT_EQ(selections.size(), 2u);
    list->SetCtrlClickDeselects(true);
    ClickCell(1, 0, GuiInput::kCtrl);
    EXPECT_FALSE(IsSelected(1));
    EXPECT_EQ(selections.back(), std::make_pair(1, 0));
}

TEST_F(NewListCtrlTest, TheFirstDividerFitsItsColumnAndNoColumnIsDraggedNarrowerThan12)
{
    wxWindow* header = Header();
    ASSERT_NE(header, nullptr);
    list->SetColumnWidth(0, 30);
    const int y = header->GetClientSize().y / 2;
    GuiInput::DoubleClick(header, wxPoint(30, y));
    PumpEventsUntil([this] { return list->GetColumnWidth(0) != 30; }, 200);
    const int fitted = list->GetColumnWidth(0);
    list->SetColumnWidth(0, wxLIST_AUTOSIZE_USEHEADER);
    EXPECT_EQ(fitted, list->GetColumnWidth(0) + 3);
    Settle(60);

    // The divider after column 1, dragged far to the left.
    const int divider = list->GetColumnWidth(0) + list->GetColumnWidth(1);
    GuiInput::Press(header, wxPoint(divider - 1, y));
    for (int x = divider - 10; x > 0; x -= 10)
    {
        GuiInput::DragTo(header, wxPoint(x, y));
        Settle(3);
    }
    GuiInput::Release(header, wxPoint(1, y));
    PumpEventsUntil([this] { return list->GetColumnWidth(1) == NewListCtrl::kMinColumnWidth; }, 300);
    EXPECT_EQ(list->GetColumnWidth(1), NewListCtrl::kMinColumnWidth);
}

TEST_F(NewListCtrlTest, DraggingARowOntoItselfDropsNothingAndBelowTheLastGivesTheRowCount)
{
    wxWindow* rows = list->RowsWindow();
    // The toolkit merges motion that waits in its queue and hands it on at its next frame, and may drop
    // a move sent while the drag takes the pointer: each move is let through before the next, and
    // the last one is repeated until what it should bring arrives.
    auto drag = [&](int row, wxPoint to, int expected) {
        const wxPoint from = CellPoint(row, 0);
        GuiInput::Press(rows, from);
        Settle(5);
        for (int step = 1; step <= 20 && !NewListCtrl::DragMarker(); ++step)
        {
            GuiInput::DragTo(rows, from + wxPoint(0, step));
            PumpEventsUntil([] { return NewListCtrl::DragMarker() != nullptr; }, 20);
        }
        for (int tries = 0; tries < 10 && NewListCtrl::DragDropPosition() != expected; ++tries)
        {
            GuiInput::DragTo(rows, to);
            PumpEventsUntil([expected] { return NewListCtrl::DragDropPosition() == expected; }, 30);
        }
        const int position = NewListCtrl::DragDropPosition();
        const DropMarker* marker = NewListCtrl::DragMarker();
        const bool markerShown = marker && marker->IsShown();
        GuiInput::Release(rows, to);
        PumpEventsUntil([] { return NewListCtrl::DragMarker() == nullptr; }, 300);
        return std::make_pair(position, markerShown);
    };
    EXPECT_EQ(drag(1, CellPoint(1, 0) + wxPoint(0, 1), 1), std::make_pair(1, true));
    EXPECT_TRUE(list->drops.empty());
    EXPECT_EQ(NewListCtrl::DragMarker(), nullptr) << "the drag has ended";

    const wxRect last = list->CellRect(3, 0);
    const wxPoint below = wxPoint(20, last.GetBottom() + 20) - rows->GetPosition();
    EXPECT_EQ(drag(1, below, 4), std::make_pair(4, true));
    EXPECT_EQ(list->drops, (std::vector<std::pair<int, int>>{{1, 4}}));
}

TEST(NewListCtrlScrollTest, AutoScrollRateOverTheDistancePastTheEdge)
{
    struct Case
    {
        int distance;
        int ticksPerLine;
    };
    // Just inside the top 5 pixels the distance is 1 to 5; 100 pixels above the list it is 105.
    const Case kCases[] = {{1, 6}, {5, 6}, {19, 6}, {20, 5}, {45, 4}, {60, 3}, {99, 2}, {100, 1}, {105, 1}, {500, 1}};
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.distance);
        EXPECT_EQ(NewListCtrl::AutoScrollInterval(c.distance), c.ticksPerLine);
    }
}

TEST_F(NewListCtrlTest, CutCellsOfferTheirTextAsTooltip)
{
    wxClientDC dc(list->RowsWindow());
    dc.SetFont(list->GetFont());
    const std::string text = "Rhombicosidodecahedron & friends";
    const int width = dc.GetTextExtent(text).x;
    list->SetItem(0, 1, wxString::FromUTF8(text));
    list->SetItem(1, 0, wxString::FromUTF8(text));
    list->SetColumnWidth(1, width + 12);
    list->SetColumnWidth(0, width + 11);
    EXPECT_EQ(list->CellTipText(0, 1), "");
    EXPECT_EQ(list->CellTipText(1, 0), "");
    list->SetColumnWidth(1, width + 11);
    list->SetColumnWidth(0, width + 10);
    EXPECT_EQ(list->CellTipText(0, 1), text);
    EXPECT_EQ(list->CellTipText(1, 0), text);

    // Over the cut cell the rows offer the tooltip.
    GuiInput::MoveTo(list->RowsWindow(), CellPoint(0, 1));
    PumpEventsUntil([this] { return !list->RowsWindow()->GetToolTipText().empty(); }, 200);
    EXPECT_EQ(list->RowsWindow()->GetToolTipText().utf8_string(), text);

    const std::string longText(120, 'x');
    list->SetItem(2, 1, wxString::FromUTF8(longText));
    EXPECT_EQ(list->CellTipText(2, 1), std::string(80, 'x'));
}

TEST_F(NewListCtrlTest, ADragAboveTheListScrollsItUpAndDropsAtTheFirstVisibleRow)
{
    for (int row = 4; row < 40; ++row)
        list->InsertItem(row, wxString::Format("Row %d", row));
    list->EnsureVisible(39);
    Settle();
    const int bottom = int(list->GetTopItem());
    ASSERT_GT(bottom, 5);
    wxWindow* rows = list->RowsWindow();
    const wxPoint from = CellPoint(bottom + 2, 0);
    GuiInput::Press(rows, from);
    Settle(5);
    for (int step = 1; step <= 20 && !NewListCtrl::DragMarker(); ++step)
    {
        GuiInput::DragTo(rows, from + wxPoint(0, step));
        PumpEventsUntil([] { return NewListCtrl::DragMarker() != nullptr; }, 20);
    }
    ASSERT_NE(NewListCtrl::DragMarker(), nullptr);
    // 100 pixels above the rows: a line every tick until the top.
    for (int tries = 0; tries < 400 && list->GetTopItem() != 0; ++tries)
    {
        // The toolkit may drop a move sent while the drag takes the pointer: the pointer moves again.
        GuiInput::DragTo(rows, wxPoint(from.x, -100));
        PumpEventsUntil([this] { return list->GetTopItem() == 0; }, 50);
    }
    EXPECT_EQ(list->GetTopItem(), 0);
    EXPECT_EQ(NewListCtrl::DragDropPosition(), 0);
    GuiInput::Release(rows, wxPoint(from.x, -100));
    PumpEventsUntil([] { return NewListCtrl::DragMarker() == nullptr; }, 300);
    ASSERT_EQ(list->drops.size(), 1u);
    EXPECT_EQ(list->drops[0], std::make_pair(bottom + 2, 0));
}

TEST(NewListCtrlPlaceholderTest, ListAndComboTakeThePlaceOfDialogControls)
{
    if (!WxTestAppRunning())
        GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
    auto* dialog = new wxDialog(nullptr, wxID_ANY, "Placeholders");
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(new wxStaticText(dialog, wxID_ANY, "Above"));
    sizer->Add(new wxListCtrl(dialog, 1096, wxDefaultPosition, wxSize(250, 120), wxLC_REPORT));
    sizer->Add(new wxComboBox(dialog, 1097, wxString(), wxDefaultPosition, wxSize(180, -1)));
    dialog->SetSizerAndFit(sizer);

    auto* list = new NewListCtrl();
    EXPECT_FALSE(list->ReplaceDlgItem(dialog, 4242));
    EXPECT_TRUE(list->ReplaceDlgItem(dialog, 1096));
    EXPECT_EQ(dialog->FindWindow(1096), list);
    EXPECT_EQ(sizer->GetItem(size_t(1))->GetWindow(), list);
    EXPECT_EQ(list->GetSize(), wxSize(250, 120));
    EXPECT_NE(list->RowsWindow(), nullptr);

    auto* combo = new MultiColumnCombo();
    EXPECT_TRUE(combo->SubclassAndSetLayout(1097, dialog, 40, 44, 300));
    EXPECT_EQ(dialog->FindWindow(1097), combo);
    EXPECT_EQ(sizer->GetItem(size_t(2))->GetWindow(), combo);
    combo->AddItem("C3v\t6\tpyramid");
    combo->MeasureColumns();
    EXPECT_EQ(combo->Column3Pos(), 84);
    EXPECT_EQ(combo->DropWidth(), 300);

    dialog->Destroy();
    PumpEventsUntil([dialog] { return !wxTopLevelWindows.Find(dialog); }, 200);
}
