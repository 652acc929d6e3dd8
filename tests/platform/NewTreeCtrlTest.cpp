// The tree of values and lazily filled folders: what a folder item lists when it first expands,
// and which items carry which values.

#include "platform/NewTreeCtrl.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>
#include <wx/frame.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;

class NewTreeCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!WxTestAppRunning())
            GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
        mRoot = fs::temp_directory_path() / ("orvane-tree-" + std::to_string(::getpid()));
        fs::remove_all(mRoot);
        // models/ holds b, a10, a2 (a2 with a sub-folder) and a file; flat/ holds only a file.
        for (const char* folder : {"models/b", "models/a10", "models/a2/deep", "flat"})
            fs::create_directories(mRoot / folder);
        std::ofstream(mRoot / "models" / "cube.orva") << "x";
        std::ofstream(mRoot / "flat" / "cube.orva") << "x";
        mFrame = new wxFrame(nullptr, wxID_ANY, "Tree", wxPoint(40, 40), wxSize(300, 300));
        tree = new NewTreeCtrl(mFrame, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                               wxTR_HAS_BUTTONS | wxTR_HIDE_ROOT | wxTR_EDIT_LABELS);
        mFrame->Show();
        root = tree->AddRoot("");
    }
    void TearDown() override
    {
        if (mFrame)
            mFrame->Destroy();
        PumpEventsUntil([] { return false; }, 5);
        fs::remove_all(mRoot);
    }

    std::vector<std::string> Children(const wxTreeItemId& item) const
    {
        std::vector<std::string> texts;
        wxTreeItemIdValue cookie;
        for (wxTreeItemId child = tree->GetFirstChild(item, cookie); child.IsOk();
             child = tree->GetNextChild(item, cookie))
            texts.push_back(tree->GetItemText(child).utf8_string());
        return texts;
    }
    wxTreeItemId Child(const wxTreeItemId& item, const std::string& text) const
    {
        wxTreeItemIdValue cookie;
        for (wxTreeItemId child = tree->GetFirstChild(item, cookie); child.IsOk();
             child = tree->GetNextChild(item, cookie))
            if (tree->GetItemText(child).utf8_string() == text)
                return child;
        return wxTreeItemId();
    }

    fs::path mRoot;
    wxFrame* mFrame = nullptr;
    NewTreeCtrl* tree = nullptr;
    wxTreeItemId root;
};

TEST_F(NewTreeCtrlTest, FolderItemsFillOnceWithTheirSubfoldersInNaturalOrder)
{
    const wxTreeItemId flat = tree->AppendItem(root, "(Flat)");
    tree->SetItemFolder(flat, (mRoot / "flat").string());
    EXPECT_TRUE(Children(flat).empty());  // no sub-folder: no expand button
    EXPECT_FALSE(tree->ItemHasChildren(flat));

    const wxTreeItemId models = tree->AppendItem(root, "(Models)");
    tree->SetItemFolder(models, (mRoot / "models").string());
    EXPECT_EQ(Children(models), std::vector<std::string>{"/"});

    tree->Expand(models);
    ASSERT_EQ(Children(models), (std::vector<std::string>{"a2", "a10", "b"}));
    // Only a2 has a sub-folder of its own, so only it shows an expand button.
    EXPECT_EQ(Children(Child(models, "a2")), std::vector<std::string>{"/"});
    EXPECT_TRUE(Children(Child(models, "b")).empty());
    EXPECT_EQ(tree->GetItemFolderPath(Child(models, "a10")), (mRoot / "models" / "a10").string());

    tree->Expand(Child(models, "a2"));
    EXPECT_EQ(Children(Child(models, "a2")), std::vector<std::string>{"deep"});
    EXPECT_EQ(tree->GetItemFolderPath(Child(Child(models, "a2"), "deep")),
              (mRoot / "models" / "a2" / "deep").string());

    // Expanding again lists nothing anew, even with a new folder on disk.
    fs::create_directories(mRoot / "models" / "c");
    tree->Collapse(models);
    tree->Expand(models);
    EXPECT_EQ(Children(models), (std::vector<std::string>{"a2", "a10", "b"}));
}

TEST_F(NewTreeCtrlTest, AFolderThatHasGoneKeepsItsPlaceholder)
{
    const wxTreeItemId models = tree->AppendItem(root, "(Models)");
    tree->SetItemFolder(models, (mRoot / "models").string());
    fs::remove_all(mRoot / "models");
    tree->Expand(models);
    EXPECT_EQ(Children(models), std::vector<std::string>{"/"});
}

TEST_F(NewTreeCtrlTest, ValuesAndTheSearchThatSkipsFolders)
{
    const wxTreeItemId models = tree->AppendItem(root, "(Models)");
    tree->SetItemFolder(models, (mRoot / "models").string());
    tree->Expand(models);  // its children have no value either, and lie below a folder item
    const wxTreeItemId a = tree->AppendItem(root, "A");
    const wxTreeItemId b = tree->AppendItem(a, "B");
    const wxTreeItemId c = tree->AppendItem(root, "C");
    EXPECT_TRUE(tree->SetItemValue(a, 1));
    EXPECT_TRUE(tree->SetItemValue(b, 7));
    EXPECT_TRUE(tree->SetItemValue(c, 7));
    EXPECT_FALSE(tree->SetItemValue(tree->GetRootItem(), 3));
    EXPECT_FALSE(tree->SetItemValue(wxTreeItemId(), 3));

    EXPECT_EQ(tree->GetItemValue(models), 0);
    EXPECT_EQ(tree->GetItemValue(tree->GetRootItem()), 0);
    EXPECT_EQ(tree->FindRootItem(7), b);  // depth first: a child before the next top-level item
    EXPECT_EQ(tree->FindRootItem(1), a);
    EXPECT_FALSE(tree->FindRootItem(2).IsOk());
    // Value 0: never the folder item or what lies below it, never the hidden root.
    const wxTreeItemId d = tree->AppendItem(c, "D");
    EXPECT_EQ(tree->FindRootItem(0), d);
}

TEST_F(NewTreeCtrlTest, LabelsAreNeverEdited)
{
    const wxTreeItemId a = tree->AppendItem(root, "A");
    tree->EditLabel(a);
    PumpEventsUntil([] { return false; }, 5);
    EXPECT_EQ(tree->GetEditControl(), nullptr);
    EXPECT_EQ(tree->GetItemText(a), "A");
}

}  // namespace
