#include "platform/CommandIds.h"
#include "platform/CommandTable.h"
#include "ui/Commands.h"
#include "view/PaneFixture.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace
{
class PolyViewExportTest : public PaneFixture
{
protected:
    std::string TempPath() const
    {
        return (std::filesystem::temp_directory_path() / ("orvane-view-metric-" + std::to_string(::getpid()) + ".txt"))
            .string();
    }
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
}  // namespace

TEST_F(PolyViewExportTest, MetricDataOfTheShownSideGoesToTheChosenFile)
{
    Poly* poly = OpenModel("4.4.4");
    ASSERT_NE(poly, nullptr);
    CPolyView* pane = Pane(0);
    const std::string path = TempPath();
    std::remove(path.c_str());

    struct Case
    {
        const char* name;
        int type;
        const char* counts;
    };
    const Case kCases[] = {
        {"the cube", kViewTypePoly, " 6 facelets, of 1 types; 12 edgelets; 8 vertices, of 1 types.\n"},
        {"its dual", kViewTypeDual, " 8 facelets, of 1 types; 12 edgelets; 6 vertices, of 1 types.\n"},
        {"its stellation", kViewTypeUniStellation, " 6 facelets, of 1 types; 12 edgelets; 8 vertices, of 1 types.\n"},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        pane->SetViewType(c.type, true);
        mScripted.services.PushText(path);
        ASSERT_TRUE(pane->ExportMetricData());
        const ScriptedServices::Call* dialog = mScripted.services.LastCall("FileDialog");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->caption, "Save Face Table Data");
        EXPECT_EQ(mScripted.services.lastFileDialog.filter, "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||");
        const std::string text = ReadFile(path);
        EXPECT_NE(text.find("Metric Data File\n================\n\n" + pane->GetStellationName() + "\n"),
                  std::string::npos)
            << text;
        EXPECT_NE(text.find(c.counts), std::string::npos) << text;
        std::remove(path.c_str());
    }

    // Cancelled: nothing written.
    pane->SetViewType(kViewTypePoly, true);
    mScripted.services.PushText("", false);
    EXPECT_FALSE(pane->ExportMetricData());
    EXPECT_FALSE(std::filesystem::exists(path));

    // A pane of both sides has no mesh to report.
    pane->SetViewType(kViewTypePolyAndDual, true);
    EXPECT_FALSE(pane->ExportMetricData());
    const ScriptedServices::Call* error = mScripted.services.LastCall("MessageBox");
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->text, "Couldn't create 3D model");
}

TEST_F(PolyViewExportTest, TheCommandIsOfferedWhereAPaneShowsOneSide)
{
    const CommandInfo* command = GetCommandTable().Find(kCmdExportMetricData);
    ASSERT_NE(command, nullptr);
    EXPECT_STREQ(command->text, "Export &Metric Data...");
    EXPECT_STREQ(command->menuPath, "&File");
    EXPECT_TRUE(CommandEnabledByRule(command->update, kViewTypePoly, false));
    EXPECT_TRUE(CommandEnabledByRule(command->update, kViewTypeDual, false));
    EXPECT_TRUE(CommandEnabledByRule(command->update, kViewTypeUniStellation, false));
    EXPECT_FALSE(CommandEnabledByRule(command->update, kViewTypePolyAndDual, false));
    EXPECT_FALSE(CommandEnabledByRule(command->update, kViewTypeMorphSizing, false));
    EXPECT_FALSE(CommandEnabledByRule(command->update, kViewTypePoly, true));
}
