// The "Table" dialog raised for real through the program's services.

#include "DialogDriver.h"
#include "kernel/MemorySettingsStore.h"
#include "kernel/Registry.h"
#include "kernel/ShowTable.h"
#include "platform/DialogUtils.h"
#include "platform/NewListCtrl.h"
#include "platform/TableDialog.h"
#include "platform/WxUserServices.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/listctrl.h>
#include <wx/settings.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace
{
class TableDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!WxTestAppRunning())
            GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
        mServices = std::make_unique<WxUserServices>();
        mPrevious = SetServices(mServices.get());
    }
    void TearDown() override
    {
        if (mServices)
            SetServices(mPrevious);
    }

    std::unique_ptr<WxUserServices> mServices;
    UserServices* mPrevious = nullptr;
};

TableDialog* AsTable(wxDialog& dialog)
{
    return dynamic_cast<TableDialog*>(&dialog);
}

// Column by column, the texts of the list as shown.
std::vector<std::string> ShownColumn(wxListCtrl* list, int column)
{
    std::vector<std::string> texts;
    for (long i = 0; i < list->GetItemCount(); ++i)
        texts.push_back(list->GetItemText(i, column).utf8_string());
    return texts;
}

void SelectItem(wxListCtrl* list, long item)
{
    list->SetItemState(item, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
}

// Clicks the heading of a column, as the user sorts. The list's heading is its child window at the
// top; its rows are below it.
void ClickHeading(wxListCtrl* list, int column)
{
    int x = 0;
    for (int c = 0; c < column; ++c)
        x += list->GetColumnWidth(c);
    for (wxWindow* child : list->GetChildren())
        if (child->GetPosition().y == 0 && child->GetSize().y < list->GetClientSize().y)
            DialogDriver::Click(child, wxPoint(x + list->GetColumnWidth(column) / 2, child->GetClientSize().y / 2));
}

const std::vector<std::string> kHeadings = {"Name", "Faces"};
const std::vector<std::string> kCells = {"Cube", "6", "Tetrahedron", "4", "Dodecahedron", "12", "Octahedron", "8"};
}  // namespace

TEST_F(TableDialogTest, FortyRowsScrollWithinTheHeightLimit)
{
    std::vector<std::string> cells;
    for (int r = 0; r < 40; ++r)
    {
        cells.push_back("Uniform polyhedron number " + std::to_string(r + 1));
        cells.push_back(std::to_string(r * 7));
    }
    const std::vector<std::string> headings = {"Name", "Faces"};
    wxSize listSize;
    std::vector<int> widths;
    std::vector<int> expectedWidths;
    int perPage = 0;
    int scrollBar = 0;
    DialogDriver driver({[&](wxDialog& d) {
        TableDialog* t = AsTable(d);
        if (!t)
            return false;
        wxListCtrl* list = t->List();
        listSize = list->GetSize();
        perPage = list->GetCountPerPage();
        scrollBar = wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, list);
        for (int c = 0; c < 2; ++c)
        {
            widths.push_back(list->GetColumnWidth(c));
            int w = MeasureTextGuiFont(t, headings[size_t(c)], 0).x + 20;
            for (int r = 0; r < 40; ++r)
                w = std::max(w, MeasureTextGuiFont(t, cells[size_t(r * 2 + c)], 0).x);
            expectedWidths.push_back(w + 19);
        }
        list->EnsureVisible(25);
        SelectItem(list, 25);
        DialogDriver::Click(t->FindWindow(wxID_OK));
        return true;
    }});
    EXPECT_EQ(ShowTable("Pick a polyhedron", 2, 40, headings, cells, -1, nullptr, {}, nullptr, {}, nullptr), 50);
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(listSize.y, kTableMaxListHeight);
    EXPECT_LT(perPage, 40) << "the rows should scroll";
    EXPECT_EQ(widths, expectedWidths);
    EXPECT_EQ(listSize.x, expectedWidths[0] + expectedWidths[1] + scrollBar);
}

TEST_F(TableDialogTest, AShortTableIsAsHighAsItsRows)
{
    int listHeight = 0;
    int headingAndRows = 0;
    int shownSelection = -1;
    DialogDriver driver({[&](wxDialog& d) {
        TableDialog* t = AsTable(d);
        if (!t)
            return false;
        wxListCtrl* list = t->List();
        wxRect first, last;
        list->GetItemRect(0, first);
        list->GetItemRect(3, last);
        listHeight = list->GetSize().y;
        headingAndRows = last.GetBottom() + 1;
        shownSelection = int(list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED));
        DialogDriver::Click(t->FindWindow(wxID_OK));
        return true;
    }});
    // Enter on the initial row.
    EXPECT_EQ(ShowTable("Pick one", 2, 4, kHeadings, kCells, 2, "Polyhedra", {}, nullptr, {}, nullptr), 4);
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(listHeight, headingAndRows);
    EXPECT_EQ(shownSelection, 2);
}

TEST_F(TableDialogTest, HeadingClicksSortAndTheChoiceIsTheCallersRow)
{
    std::vector<std::string> ascending, descending;
    int clicks = 0;
    int pause = 0;
    DialogDriver driver({[&](wxDialog& d) {
                             TableDialog* t = AsTable(d);
                             if (!t)
                                 return false;
                             ClickHeading(t->List(), 1);
                             return true;
                         },
                         [&](wxDialog& d) {
                             wxListCtrl* list = AsTable(d)->List();
                             if (list->GetItemText(0, 1) != "4")
                                 return ++clicks > 400;  // the click has not arrived yet
                             ascending = ShownColumn(list, 1);
                             return true;
                         },
                         [&](wxDialog& d) {
                             // Far enough apart not to make a double click.
                             if (++pause < 150)
                                 return false;
                             ClickHeading(AsTable(d)->List(), 1);
                             return true;
                         },
                         [&](wxDialog& d) {
                             wxListCtrl* list = AsTable(d)->List();
                             if (list->GetItemText(0, 1) != "12")
                                 return ++clicks > 800;
                             descending = ShownColumn(list, 1);
                             SelectItem(list, 0);  // Dodecahedron, the caller's row 2
                             DialogDriver::Click(d.FindWindow(wxID_OK));
                             return true;
                         }});
    int sortState = 0;
    EXPECT_EQ(ShowTable("Pick one", 2, 4, kHeadings, kCells, -1, "Polyhedra", {3, 4}, &sortState, {}, nullptr), 4);
    EXPECT_FALSE(driver.TimedOut());
    // Leading integers, not texts: 12 after 8.
    EXPECT_EQ(ascending, (std::vector<std::string>{"4", "6", "8", "12"}));
    EXPECT_EQ(descending, (std::vector<std::string>{"12", "8", "6", "4"}));
    EXPECT_EQ(sortState, ~1);
}

TEST_F(TableDialogTest, TheTableStartsSortedWithTheInitialRowSelected)
{
    std::vector<std::string> names;
    std::string selected;
    DialogDriver driver({[&](wxDialog& d) {
        TableDialog* t = AsTable(d);
        if (!t)
            return false;
        names = ShownColumn(t->List(), 0);
        const long item = t->List()->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
        selected = item < 0 ? "" : t->List()->GetItemText(item, 0).utf8_string();
        DialogDriver::Click(t->FindWindow(wxID_CANCEL));
        return true;
    }});
    int sortState = ~0;  // names, descending
    EXPECT_EQ(ShowTable("Pick one", 2, 4, kHeadings, kCells, 1, nullptr, {3, 4}, &sortState, {}, nullptr), -1);
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(names, (std::vector<std::string>{"Tetrahedron", "Octahedron", "Dodecahedron", "Cube"}));
    EXPECT_EQ(selected, "Tetrahedron");
    EXPECT_EQ(sortState, ~0);  // Cancel leaves it
}

TEST_F(TableDialogTest, AShownTableHasNoCancelAndRowsKeepTheirColours)
{
    bool cancelShown = true;
    wxColour back0, ink0, back2, ink2, back1;
    DialogDriver driver({[&](wxDialog& d) {
        TableDialog* t = AsTable(d);
        if (!t)
            return false;
        cancelShown = t->FindWindow(wxID_CANCEL)->IsShown();
        back0 = t->List()->GetItemBackgroundColour(0);
        ink0 = t->List()->GetItemTextColour(0);
        back1 = t->List()->GetItemBackgroundColour(1);
        back2 = t->List()->GetItemBackgroundColour(2);
        ink2 = t->List()->GetItemTextColour(2);
        DialogDriver::Type(d, WXK_ESCAPE);
        return true;
    }});
    const std::vector<uint32_t> colours = {0x000000FFu, kNoRowColor, 0x00C0FFFFu};
    EXPECT_EQ(ShowTable("Counts", 2, 4, kHeadings, kCells, -2, "Table", {}, nullptr, colours, nullptr), 0);
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_FALSE(cancelShown);
    EXPECT_EQ(back0, wxColour(255, 0, 0));
    EXPECT_EQ(ink0, *wxWHITE);  // 255 in all: dark
    EXPECT_FALSE(back1.IsOk() && back1 == wxColour(255, 0, 0));
    EXPECT_EQ(back2, wxColour(255, 255, 192));
    EXPECT_EQ(ink2, *wxBLACK);
}

TEST_F(TableDialogTest, PlacementAndColumnWidthsAreRemembered)
{
    ScopedMemorySettingsStore settings;
    const wxString vendor = wxTheApp->GetVendorName();
    wxTheApp->SetVendorName("OrvaneTest");
    wxSize grownTo;
    DialogDriver driver({[&](wxDialog& d) {
                             TableDialog* t = AsTable(d);
                             if (!t)
                                 return false;
                             grownTo = t->GetSize() + wxSize(120, 80);
                             t->SetSize(grownTo);
                             t->List()->SetColumnWidth(0, 151);
                             return true;
                         },
                         [&](wxDialog& d) {
                             if (d.GetSize() != grownTo)
                                 return false;
                             DialogDriver::Click(d.FindWindow(wxID_CANCEL));
                             return true;
                         }});
    EXPECT_EQ(ShowTable("Pick one", 2, 4, kHeadings, kCells, -1, nullptr, {}, nullptr, {}, "PickTable"), -1);
    EXPECT_FALSE(driver.TimedOut());

    RegKeyPtr key = OpenRegKey(RegistryApp{"OrvaneTest", wxTheApp->GetAppName().utf8_string()}, nullptr, "PickTable");
    int w = 0, h = 0, column0 = 0;
    EXPECT_TRUE(RegReadInt(key.get(), "DialogW", w));
    EXPECT_TRUE(RegReadInt(key.get(), "DialogH", h));
    EXPECT_TRUE(RegReadInt(key.get(), "Column0", column0));
    EXPECT_EQ(wxSize(w, h), grownTo);
    EXPECT_EQ(column0, 151);

    wxSize reopened;
    int reopenedColumn = 0;
    DialogDriver again({[&](wxDialog& d) {
        TableDialog* t = AsTable(d);
        if (!t)
            return false;
        reopened = t->GetSize();
        reopenedColumn = t->List()->GetColumnWidth(0);
        DialogDriver::Click(t->FindWindow(wxID_CANCEL));
        return true;
    }});
    ShowTable("Pick one", 2, 4, kHeadings, kCells, -1, nullptr, {}, nullptr, {}, "PickTable");
    EXPECT_FALSE(again.TimedOut());
    wxTheApp->SetVendorName(vendor);
    EXPECT_EQ(reopened, grownTo);
    EXPECT_EQ(reopenedColumn, 151);
}
