// The layout section of the model file, written and read through the token layer with the main
// window showing the layouts.

#include "MainFrameFixture.h"

#include "kernel/MemBlock.h"
#include "kernel/ScriptedServices.h"
#include "kernel/TokenFile.h"
#include "ui/LayoutSection.h"
#include "ui/NewSplitter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace
{
const char kMagic[] = "OrvaneLayoutTest";

class LayoutSectionTest : public MainFrameFixture
{
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        char pattern[] = "/tmp/orvane-layout-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        mDir = pattern;
    }
    void TearDown() override
    {
        if (!mDir.empty())
            std::filesystem::remove_all(mDir);
        MainFrameFixture::TearDown();
    }

    // The section as ASCII, without the file's header line.
    std::string WriteAscii(int indent)
    {
        const std::string path = mDir + "/out.txt";
        {
            ioFilePtr f = ioOpenWrite(path.c_str(), kMagic, 1, 0, kIoAscii, nullptr, nullptr, nullptr);
            EXPECT_TRUE(f);
            EXPECT_TRUE(WriteLayoutSection(f.get(), indent));
            ioClose(f);
        }
        std::ifstream in(path);
        std::string header;
        std::getline(in, header);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Reads a section given as ASCII text.
    bool ReadAscii(const std::string& body, int startLayout, bool apply)
    {
        const std::string path = mDir + "/in.txt";
        {
            std::ofstream out(path);
            out << kMagic << " ASCII 1.00\n" << body;
        }
        ioFilePtr f = ioOpenRead(path.c_str(), kMagic, 1, 0, nullptr, nullptr);
        EXPECT_TRUE(f);
        const bool ok = f && ReadLayoutSection(f.get(), startLayout, apply);
        ioClose(f);
        return ok;
    }

    std::vector<float> PaneShares(bool vertical) const
    {
        std::vector<float> shares;
        for (ModelPane* pane : Panes())
            shares.push_back(float(vertical ? pane->GetSize().y : pane->GetSize().x));
        return shares;
    }

    std::string mDir;
};
}  // namespace

TEST_F(LayoutSectionTest, AnUntouchedRunWritesTheStartLayoutAlone)
{
    mFrame->StoreRatios();
    EXPECT_EQ(WriteAscii(2), "  CurrentLayout\tLayout2\n"
                             "  Layout\tLayout2\n"
                             "    Ratios\t1\t0.5\n"
                             "  EndSection\n");
}

TEST_F(LayoutSectionTest, LayoutsAndDraggedRatiosComeBackFromMemory)
{
    // A dragged Layout4SplitLeft left behind, then Layout6 shown with a dragged bar.
    mFrame->SetLayout(kLayout4SplitLeft);
    NewSplitter* outer = mFrame->GetSplitter();
    const int bar = outer->GetColumnWidths()[0] + 1;
    ASSERT_TRUE(outer->StartTracking(wxPoint(bar, 50)));
    outer->TrackTo(wxPoint(bar + 90, 50));
    outer->StopTracking(true);
    std::vector<float> splitLeft = outer->GetRatios();
    for (float ratio : mFrame->GetNestedSplitter()->GetRatios())
        splitLeft.push_back(ratio);
    ASSERT_EQ(splitLeft.size(), 3u);
    mFrame->SetLayout(kLayout6);
    NewSplitter* six = mFrame->GetSplitter();
    ASSERT_TRUE(six->StartTracking(wxPoint(six->GetColumnWidths()[0] + 1, 50)));
    six->TrackTo(wxPoint(six->GetColumnWidths()[0] - 150, 50));
    six->StopTracking(true);
    const std::vector<float> sixRatios = six->GetRatios();
    const std::vector<float> widths = PaneShares(false);

    mFrame->StoreRatios();
    MemBlock block;
    {
        ioFilePtr f = ioOpenWrite(nullptr, nullptr, 1, 0, kIoMemory, nullptr, nullptr, &block);
        ASSERT_TRUE(f);
        ASSERT_TRUE(WriteLayoutSection(f.get(), 0));
        ioClose(f);
    }
    ASSERT_GT(block.mSize, 0);

    // Somewhere else entirely before reading back.
    mFrame->SetLayout(kLayout1);
    PaneLayout::InitAll();
    {
        ioFilePtr f = ioOpenRead(nullptr, nullptr, 1, 0, nullptr, nullptr, block.mData, block.mSize);
        ASSERT_TRUE(f);
        EXPECT_TRUE(ReadLayoutSection(f.get(), kLayout2, true));
        ioClose(f);
    }
    ASSERT_EQ(GetCurrentLayoutIndex(), kLayout6);
    ASSERT_EQ(mFrame->GetSplitter()->GetRatios().size(), sixRatios.size());
    for (size_t i = 0; i < sixRatios.size(); ++i)
        EXPECT_FLOAT_EQ(mFrame->GetSplitter()->GetRatios()[i], sixRatios[i]);
    const std::vector<float> widthsAfter = PaneShares(false);
    ASSERT_EQ(widthsAfter.size(), widths.size());
    for (size_t i = 0; i < widths.size(); ++i)
        EXPECT_NEAR(widthsAfter[i], widths[i], 1.0f) << "pane " << i;
    const PaneLayout& record = GetPaneLayout(kLayout4SplitLeft);
    ASSERT_EQ(record.ratioCount, 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_FLOAT_EQ(record.ratios[i], splitLeft[size_t(i)]);
    // Layouts the section did not name have no stored ratios.
    EXPECT_EQ(GetPaneLayout(kLayout3Equal).ratioCount, -1);
}

TEST_F(LayoutSectionTest, AnUnexpectedTokenIsReportedAndEndsTheSection)
{
    ScopedScriptedServices scripted;
    ScriptedServices& services = scripted.services;
    EXPECT_FALSE(ReadAscii("CurrentLayout\tLayout3Equal\nLayoutz\tLayout6\nEndSection\n", kLayout2, true));
    ASSERT_EQ(services.CountCalls("MessageBox"), 1);
    const ScriptedServices::Call* call = services.LastCall("MessageBox");
    EXPECT_EQ(call->caption, "Error");
    EXPECT_NE(call->text.find("Didn't expect layout token 'Layoutz'"), std::string::npos) << call->text;
    EXPECT_NE(call->text.find("line 3"), std::string::npos) << call->text;
    // What was read before the fault is applied.
    EXPECT_EQ(GetCurrentLayoutIndex(), kLayout3Equal);
}

TEST_F(LayoutSectionTest, ASectionWithoutCurrentLayoutShowsTheStartLayout)
{
    mFrame->SetLayout(kLayout6);
    EXPECT_TRUE(ReadAscii("Layout\tLayout6\n  Ratios\t3\t0.2\t0.3\t0.25\nEndSection\n", kLayout2, true));
    EXPECT_EQ(GetCurrentLayoutIndex(), kLayout2);
    const PaneLayout& six = GetPaneLayout(kLayout6);
    EXPECT_EQ(six.ratioCount, 3);
    EXPECT_FLOAT_EQ(six.ratios[0], 0.2f);
    EXPECT_FLOAT_EQ(six.ratios[2], 0.25f);
    // Shown again, Layout6 takes the ratios read.
    mFrame->SetLayout(kLayout6);
    EXPECT_FLOAT_EQ(mFrame->GetSplitter()->GetRatios()[1], 0.3f);
}

TEST_F(LayoutSectionTest, MissingOrUnusableRatiosLeaveEveryPaneRoom)
{
    struct Case
    {
        const char* name;
        const char* body;
        int layout;
    };
    const Case kCases[] = {
        {"fewer ratios than columns", "CurrentLayout Layout3Equal\nLayout Layout3Equal\nRatios 1 0.2\n", kLayout3Equal},
        {"no ratios", "CurrentLayout Layout6\nLayout Layout6\nRatios 0\n", kLayout6},
        {"columns wider than the window", "CurrentLayout Layout3Equal\nLayout Layout3Equal\nRatios 2 0.7 0.6\n",
         kLayout3Equal},
        {"negative", "CurrentLayout Layout4Grid\nLayout Layout4Grid\nRatios 2 -0.5 0.5\n", kLayout4Grid},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        mFrame->SetLayout(kLayout1);
        EXPECT_TRUE(ReadAscii(std::string(c.body) + "EndSection\n", kLayout2, true));
        ASSERT_EQ(GetCurrentLayoutIndex(), c.layout);
        for (ModelPane* pane : Panes())
        {
            EXPECT_GT(pane->GetSize().x, 100);
            EXPECT_GT(pane->GetSize().y, 100);
        }
    }
    // A ratio the record has is used; the one it lacks takes the default third.
    mFrame->SetLayout(kLayout1);
    EXPECT_TRUE(ReadAscii("CurrentLayout Layout3Equal\nLayout Layout3Equal\nRatios 1 0.2\nEndSection\n", kLayout2,
                          true));
    EXPECT_FLOAT_EQ(mFrame->GetSplitter()->GetRatios()[0], 0.2f);
    EXPECT_FLOAT_EQ(mFrame->GetSplitter()->GetRatios()[1], 1.0f / 3.0f);
}

TEST_F(LayoutSectionTest, RatiosBeyondTheThirdAreReadAndDropped)
{
    EXPECT_TRUE(ReadAscii("Layout Layout6\nRatios 5 0.1 0.2 0.3 0.4 0.5\nCurrentLayout Layout6\nEndSection\n",
                          kLayout2, true));
    // The token after the extra ratios was still understood.
    EXPECT_EQ(GetCurrentLayoutIndex(), kLayout6);
    const PaneLayout& six = GetPaneLayout(kLayout6);
    EXPECT_EQ(six.ratioCount, 5);
    EXPECT_FLOAT_EQ(six.ratios[2], 0.3f);
    // Written again, the record gives the three ratios it holds.
    EXPECT_NE(WriteAscii(0).find("Ratios\t3\t0.1\t0.2\t0.3\n"), std::string::npos);
}

TEST_F(LayoutSectionTest, AnAbsurdRatioCountIsRefusedAtOnce)
{
    ScopedScriptedServices scripted;
    ScriptedServices& services = scripted.services;
    EXPECT_FALSE(ReadAscii("Layout Layout6\nRatios 2000000000 0.5\nEndSection\n", kLayout2, true));
    EXPECT_EQ(services.CountCalls("MessageBox"), 1);
}
