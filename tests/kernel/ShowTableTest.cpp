#include "kernel/ShowTable.h"
#include "kernel/ScriptedServices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
// Sees the request as the dialog would and answers like a user who sorted the table first.
class TableServices : public ScriptedServices
{
public:
    TableRequest seen;
    int answer = -1;
    int sortTo = 0;
    int ShowTable(TableRequest& request) override
    {
        seen = request;
        if (answer >= 0 || request.initialRow == -2)
            request.sortState = sortTo;  // OK: the services report the final sort
        return answer;
    }
};

const std::vector<std::string> kHeadings = {"Name", "Faces"};
const std::vector<std::string> kCells = {"Cube", "6", "Tetrahedron", "4", "Octahedron", "8"};
}  // namespace

TEST(ShowTableTest, AnswersTheFirstCellOfTheChosenRow)
{
    ScopedScriptedServices scope;
    ScriptedServices& s = scope.services;
    struct Case
    {
        const char* name;
        int initialRow;
        int scripted;  // -99: nothing scripted (Enter)
        int result;
    };
    const Case kCases[] = {
        {"chosen row", -1, 2, 4},
        {"Enter on the initial row", 1, -99, 2},
        {"Enter with nothing selected", -1, -99, -1},
        {"cancelled", 0, -1, -1},
        {"only shown", -2, -99, 0},
        {"an initial row past the end selects nothing", 7, -99, -1},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        if (c.scripted != -99)
            s.PushAnswer(c.scripted);
        EXPECT_EQ(ShowTable("Pick one", 2, 3, kHeadings, kCells, c.initialRow, "Polyhedra", {}, nullptr, {}, nullptr),
                  c.result);
    }
    EXPECT_EQ(s.LastCall("Table")->caption, "Polyhedra");
    EXPECT_EQ(s.LastCall("Table")->text, "Pick one");
}

TEST(ShowTableTest, SortStateChangesOnlyOnOk)
{
    TableServices services;
    UserServices* previous = SetServices(&services);
    int sortState = 2;  // column 1 ascending
    services.answer = 1;
    services.sortTo = ~0;  // the user sorted by column 0, descending
    EXPECT_EQ(ShowTable("p", 2, 3, kHeadings, kCells, 0, "t", {1, 4}, &sortState, {}, "Table"), 2);
    EXPECT_EQ(services.seen.sortState, 2);
    EXPECT_EQ(sortState, ~0);

    services.answer = -1;  // Cancel
    services.sortTo = 1;
    EXPECT_EQ(ShowTable("p", 2, 3, kHeadings, kCells, 0, "t", {1, 4}, &sortState, {}, "Table"), -1);
    EXPECT_EQ(sortState, ~0);
    SetServices(previous);

    EXPECT_EQ(services.seen.settingsKey, "Table");
    EXPECT_EQ(services.seen.sortKinds, (std::vector<int>{1, 4}));
}

TEST(ShowTableTest, RequestIsCompletedAndBadInputIsRefused)
{
    TableServices services;
    UserServices* previous = SetServices(&services);
    services.answer = 0;
    // Missing headings are blank and missing row colours none; extra cells are not the table's.
    std::vector<std::string> cells = kCells;
    cells.push_back("extra");
    EXPECT_EQ(ShowTable(nullptr, 2, 3, {"Name"}, cells, -1, nullptr, {}, nullptr, {0x0000FFu}, nullptr), 0);
    EXPECT_EQ(services.seen.headings, (std::vector<std::string>{"Name", ""}));
    EXPECT_EQ(services.seen.rowColors, (std::vector<uint32_t>{0x0000FFu, kNoRowColor, kNoRowColor}));
    EXPECT_EQ(services.seen.cells, kCells);
    EXPECT_EQ(services.seen.title, "");

    // Too few cells: an internal error, and no table.
    services.seen = TableRequest();
    EXPECT_EQ(ShowTable("p", 3, 3, kHeadings, kCells, -1, "t", {}, nullptr, {}, nullptr), -1);
    EXPECT_EQ(services.CountCalls("Table"), 0);
    EXPECT_EQ(services.seen.columns, 0);
    ASSERT_NE(services.LastCall("MessageBox"), nullptr);
    EXPECT_EQ(services.LastCall("MessageBox")->caption, "Internal Error");
    EXPECT_EQ(ShowTable("p", 0, 0, {}, {}, -1, "t", {}, nullptr, {}, nullptr), -1);
    SetServices(previous);
}
