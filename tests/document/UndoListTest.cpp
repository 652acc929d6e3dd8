// The undo list: steps, groups, limits, menu texts and the messages of Undo and Redo, with items
// that exchange one program value.

#include "document/DocumentSettings.h"
#include "document/ScaleUndo.h"
#include "document/UndoItem.h"
#include "document/UndoList.h"
#include "kernel/ScriptedServices.h"
#include "kernel/UndoKinds.h"
#include "kernel/UnitSettings.h"
#include "support/RecordingShell.h"

#include <gtest/gtest.h>
#include <wx/menu.h>

#include <string>
#include <vector>

namespace
{
// The value the test's changes alter.
int gValue = 0;

// Exchanges its stored value with gValue; a size and results chosen by the test.
class ValueItem : public UndoItem
{
public:
    ValueItem(int kind, int32_t size, bool applies, bool keepsAtClose)
        : UndoItem(kind), mStored(gValue), mSize(size), mApplies(applies), mKeepsAtClose(keepsAtClose)
    {
    }
    int32_t GetSize() const override { return mSize; }
    bool CloseUndo() override { return mKeepsAtClose; }
    bool Apply(bool /*undo*/) override
    {
        if (!mApplies)
            return false;
        std::swap(mStored, gValue);
        return true;
    }

private:
    int mStored;
    int32_t mSize;
    bool mApplies;
    bool mKeepsAtClose;
};

// While applied it asks the list for more, as code inside a rebuild might.
class ReentrantItem : public ValueItem
{
public:
    using ValueItem::ValueItem;
    bool Apply(bool undo) override
    {
        AddUndo(kUndoColorChange, false);
        BeginUndoGroup(kUndoColorChange);
        EndUndoGroup();
        DiscardLastUndo();
        UndoList::Undo();
        UndoList::Redo();
        return ValueItem::Apply(undo);
    }
};

// Records the view messages; the rest of the shell stays silent.
class MessageShell : public RecordingShell
{
public:
    void SetViewMessage(void*, const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

class UndoListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mSavedSettings = GetDocumentSettings();
        ClearUndoList();
        gValue = 0;
        SetUndoItemMaker([this](int kind) -> UndoItem* {
            if (kind == kRecordsNothing)
                return nullptr;
            if (kind == kReentrant)
                return new ReentrantItem(kind, mItemSize, true, true);
            return new ValueItem(kind, mItemSize, kind != kFailsToApply, kind != kKeepsNothing);
        });
    }
    void TearDown() override
    {
        // Balance any group a failed assertion left open.
        ClearUndoList();
        SetUndoItemMaker(nullptr);
        GetDocumentSettings() = mSavedSettings;
    }

    // One change of the value, recorded as a step of the kind.
    void Change(int value, int kind = kUndoColorChange)
    {
        AddUndo(kind, false);
        gValue = value;
    }

    std::string LastMessage() const { return mShell.messages.empty() ? std::string() : mShell.messages.back(); }

    static constexpr int kRecordsNothing = 2;  // "Augmentation": its maker gives no item
    static constexpr int kFailsToApply = 9;    // "Delete Part"
    static constexpr int kKeepsNothing = kUndoStellationChange;  // open; drops itself at close
    static constexpr int kReentrant = 3;  // "Models on Faces"

    MessageShell mShell;
    ScopedShell mShellScope{&mShell};
    ScopedScriptedServices mServices;
    DocumentSettings mSavedSettings;
    int32_t mItemSize = 100;
};

TEST_F(UndoListTest, UndoAndRedoWalkStepByStepAndReportEachStep)
{
    EXPECT_EQ(UndoMenuText(true), "Can't &Undo\tCtrl+Z");
    EXPECT_EQ(RedoMenuText(true), "Can't &Redo\tCtrl+R");
    Change(1, kUndoOpenBuiltInModel);
    Change(2, kUndoColorChange);
    Change(3, kUndoScaleChange);
    EXPECT_EQ(GetUndoStepCount(), 3);
    EXPECT_EQ(GetUndoSize(), 300);
    EXPECT_EQ(UndoMenuText(true), "&Undo Change of Scale\tCtrl+Z");
    EXPECT_EQ(UndoMenuText(false), "&Undo Change of Scale");

    const struct
    {
        int valueAfter;
        const char* message;
        const char* undoText;
        const char* redoText;
    } undoSteps[] = {
        {2, "Undid Change of Scale", "&Undo Color Change", "&Redo Change of Scale"},
        {1, "Undid Color Change", "&Undo Open Built-in Model", "&Redo Color Change"},
        {0, "Undid Open Built-in Model", "Can't &Undo", "&Redo Open Built-in Model"},
    };
    for (const auto& step : undoSteps)
    {
        SCOPED_TRACE(step.message);
        ASSERT_TRUE(CanUndo());
        UndoList::Undo();
        EXPECT_EQ(gValue, step.valueAfter);
        EXPECT_EQ(LastMessage(), step.message);
        EXPECT_EQ(UndoMenuText(false), step.undoText);
        EXPECT_EQ(RedoMenuText(false), step.redoText);
    }
    EXPECT_FALSE(CanUndo());
    UndoList::Undo();
    EXPECT_EQ(LastMessage(), "Can't undo any further");
    EXPECT_EQ(gValue, 0);

    UndoList::Redo();
    EXPECT_EQ(gValue, 1);
    EXPECT_EQ(LastMessage(), "Redid Open Built-in Model");
    UndoList::Redo();
    UndoList::Redo();
    EXPECT_EQ(gValue, 3);
    EXPECT_EQ(LastMessage(), "Redid Change of Scale");
    EXPECT_FALSE(CanRedo());
    UndoList::Redo();
    EXPECT_EQ(LastMessage(), "Can't redo any further");
    EXPECT_EQ(gValue, 3);
    // Exchanging items hold the same amount either way.
    EXPECT_EQ(GetUndoSize(), 300);
}

TEST_F(UndoListTest, AGroupOfThreeChangesIsOneStepNamedAfterItsFirst)
{
    Change(5);
    BeginUndoGroup(kUndoOpenBuiltInModel);
    gValue = 6;
    Change(7, kUndoScaleChange);
    Change(8, kUndoColorChange);
    EndUndoGroup();
    EXPECT_EQ(GetUndoStepCount(), 2);
    EXPECT_EQ(UndoMenuText(false), "&Undo Open Built-in Model");

    const size_t before = mShell.messages.size();
    UndoList::Undo();
    EXPECT_EQ(gValue, 5);
    ASSERT_EQ(mShell.messages.size(), before + 1) << "the step is reported once";
    EXPECT_EQ(LastMessage(), "Undid Open Built-in Model");
    EXPECT_EQ(UndoMenuText(false), "&Undo Color Change");

    UndoList::Redo();
    EXPECT_EQ(gValue, 8);
    EXPECT_EQ(mShell.messages.size(), before + 2);
    EXPECT_EQ(LastMessage(), "Redid Open Built-in Model");
    EXPECT_FALSE(CanRedo());

    // Nested groups join into the outermost one.
    BeginUndoGroup(kUndoColorChange);
    BeginUndoGroup(kUndoScaleChange);
    gValue = 9;
    EndUndoGroup();
    Change(10);
    EndUndoGroup();
    EXPECT_EQ(GetUndoStepCount(), 3);
    UndoList::Undo();
    EXPECT_EQ(gValue, 8);
}

TEST_F(UndoListTest, AnUnmatchedEndOfGroupChangesNothing)
{
    Change(1);
    EndUndoGroup();
    EXPECT_EQ(GetUndoStepCount(), 1);
    Change(2);
    EXPECT_EQ(GetUndoStepCount(), 2);
    UndoList::Undo();
    EXPECT_EQ(gValue, 1);
}

TEST_F(UndoListTest, TheStepCountLimitDropsTheOldestStepWithItsJoinedItems)
{
    GetDocumentSettings().maxNumUndos = 1000;
    GetDocumentSettings().maxUndoSize = 1 << 30;
    // The oldest step is a group of two items.
    BeginUndoGroup(kUndoOpenBuiltInModel);
    Change(1);
    EndUndoGroup();
    for (int i = 2; i <= 1000; ++i)
        Change(i);
    EXPECT_EQ(GetUndoStepCount(), 1000);
    EXPECT_EQ(GetOldestUndoItem()->GetKind(), kUndoOpenBuiltInModel);

    Change(1001);
    EXPECT_EQ(GetUndoStepCount(), 1000);
    EXPECT_EQ(GetOldestUndoItem()->GetKind(), kUndoColorChange);
    EXPECT_FALSE(GetOldestUndoItem()->mFlags & UndoItem::kJoinedToPrev) << "no part of the group is left";
    EXPECT_EQ(GetUndoSize(), 1000 * mItemSize);
    int undone = 0;
    while (CanUndo())
    {
        UndoList::Undo();
        ++undone;
    }
    EXPECT_EQ(undone, 1000);
    EXPECT_EQ(gValue, 1) << "the value before the second step";
}

TEST_F(UndoListTest, TheByteLimitKeepsAtLeastTheMinimumOfSteps)
{
    struct Case
    {
        const char* name;
        int maxBytes;
        int minSteps;
        int itemSize;
        int stepsKept;
    };
    const Case cases[] = {
        {"two steps stay however large", 1, 2, 1 << 20, 2},
        {"bytes bound the steps beyond the minimum", 3000, 2, 1000, 3},
        {"a minimum of zero can empty the list", 10, 0, 1000, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ClearUndoList();
        GetDocumentSettings().maxUndoSize = c.maxBytes;
        GetDocumentSettings().minNumUndos = c.minSteps;
        mItemSize = c.itemSize;
        for (int i = 1; i <= 6; ++i)
            Change(i);
        EXPECT_EQ(GetUndoStepCount(), c.stepsKept);
        EXPECT_EQ(GetUndoSize(), c.stepsKept * c.itemSize);
        int undone = 0;
        while (CanUndo())
        {
            UndoList::Undo();
            ++undone;
        }
        EXPECT_EQ(undone, c.stepsKept);
        EXPECT_EQ(gValue, 6 - c.stepsKept);
    }
}

TEST_F(UndoListTest, ANewChangeAfterAnUndoDeletesTheRedoSteps)
{
    Change(1);
    Change(2);
    Change(3);
    UndoList::Undo();
    UndoList::Undo();
    EXPECT_TRUE(CanRedo());
    Change(4, kUndoScaleChange);
    EXPECT_FALSE(CanRedo());
    EXPECT_EQ(RedoMenuText(true), "Can't &Redo\tCtrl+R");
    EXPECT_EQ(GetUndoStepCount(), 2);
    EXPECT_EQ(GetUndoSize(), 200);
    UndoList::Undo();
    EXPECT_EQ(gValue, 1);
    UndoList::Undo();
    EXPECT_EQ(gValue, 0);
    EXPECT_FALSE(CanUndo());
}

TEST_F(UndoListTest, AFailedChangeNeverDeletesAnEarlierUnrelatedStep)
{
    struct Case
    {
        const char* name;
        bool inGroup;
        int kind;  // of the failing change
    };
    const Case cases[] = {
        {"a group whose change recorded nothing", true, kRecordsNothing},
        {"a group whose recorded change is thrown away", true, kUndoOpenBuiltInModel},
        {"a single change that recorded nothing", false, kRecordsNothing},
        {"a single recorded change thrown away", false, kUndoColorChange},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ClearUndoList();
        gValue = 0;
        Change(1, kUndoScaleChange);  // the user's earlier change
        if (c.inGroup)
            BeginUndoGroup(c.kind);
        else
            AddUndo(c.kind, false);
        // The change fails: it throws its item away, twice over to be sure.
        DiscardLastUndo();
        DiscardLastUndo();
        if (c.inGroup)
            EndUndoGroup();
        EXPECT_EQ(GetUndoStepCount(), 1);
        EXPECT_EQ(UndoMenuText(false), "&Undo Change of Scale");
        UndoList::Undo();
        EXPECT_EQ(gValue, 0);
    }
}

TEST_F(UndoListTest, AnOpenItemThatRecordedNothingIsDroppedAtClose)
{
    Change(1);
    AddUndo(kKeepsNothing, false);
    EXPECT_EQ(GetUndoSize(), 100) << "an open item counts from its close";
    CloseUndo();
    EXPECT_EQ(GetUndoStepCount(), 1);
    EXPECT_EQ(UndoMenuText(false), "&Undo Color Change");
    EXPECT_EQ(GetUndoSize(), 100);

    // A forgotten close is made by the next AddUndo: the dropped item leaves no step.
    AddUndo(kKeepsNothing, false);
    Change(2);
    EXPECT_EQ(GetUndoStepCount(), 2);
    UndoList::Undo();
    UndoList::Undo();
    EXPECT_EQ(gValue, 0);
}

TEST_F(UndoListTest, AFailingItemIsReportedAndTheStepStillCompletes)
{
    BeginUndoGroup(kUndoOpenBuiltInModel);
    gValue = 1;
    AddUndo(kFailsToApply, false);
    gValue = 2;
    EndUndoGroup();
    UndoList::Undo();
    EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(mServices.services.LastCall("MessageBox")->text, "Undo failed");
    EXPECT_EQ(gValue, 0) << "the other item of the step was still applied";
    EXPECT_FALSE(CanUndo());
    UndoList::Redo();
    EXPECT_EQ(mServices.services.LastCall("MessageBox")->text, "Redo failed");
}

TEST_F(UndoListTest, AnItemBeingAppliedCannotChangeTheList)
{
    Change(1);
    Change(2, kReentrant);
    Change(3);
    UndoList::Undo();
    UndoList::Undo();
    EXPECT_EQ(gValue, 1);
    EXPECT_EQ(GetUndoStepCount(), 3);
    EXPECT_EQ(UndoMenuText(false), "&Undo Color Change");
    EXPECT_EQ(RedoMenuText(false), "&Redo Models on Faces");
    UndoList::Redo();
    UndoList::Redo();
    EXPECT_EQ(gValue, 3);
    EXPECT_FALSE(CanRedo());
}

TEST_F(UndoListTest, WithUndoDisabledNothingIsRecordedAndTheListEmpties)
{
    Change(1);
    Change(2);
    GetDocumentSettings().undoEnabled = false;
    TrimUndoList();
    EXPECT_TRUE(IsUndoListEmpty());
    EXPECT_EQ(GetUndoSize(), 0);
    Change(3);
    BeginUndoGroup(kUndoColorChange);
    Change(4);
    EndUndoGroup();
    EXPECT_TRUE(IsUndoListEmpty());
    UndoList::Undo();
    EXPECT_EQ(LastMessage(), "Undo/redo is disabled");
    UndoList::Redo();
    EXPECT_EQ(LastMessage(), "Undo/redo is disabled");
    EXPECT_EQ(gValue, 4);
}

TEST_F(UndoListTest, TheHistoryShowsTwentyStepsAndAGreyedMore)
{
    for (int i = 1; i <= 25; ++i)
        Change(i, i % 2 ? kUndoColorChange : kUndoScaleChange);
    bool more = false;
    std::vector<std::string> texts = UndoHistoryTexts(true, more);
    ASSERT_EQ(texts.size(), 20u);
    EXPECT_TRUE(more);
    EXPECT_EQ(texts[0], "&Undo Color Change");  // the 25th change comes first
    EXPECT_EQ(texts[1], "&Undo Change of Scale");

    wxMenu menu;
    BuildUndoHistoryMenu(menu, true);
    ASSERT_EQ(menu.GetMenuItemCount(), 21u);
    EXPECT_EQ(menu.FindItemByPosition(0)->GetId(), 1);
    EXPECT_EQ(menu.FindItemByPosition(19)->GetId(), 20);
    EXPECT_EQ(menu.FindItemByPosition(20)->GetItemLabelText(), "...");
    EXPECT_FALSE(menu.FindItemByPosition(20)->IsEnabled());

    // Nothing to redo: no pop-up entries. Three undone: three, newest undone first.
    wxMenu redoMenu;
    BuildUndoHistoryMenu(redoMenu, false);
    EXPECT_EQ(redoMenu.GetMenuItemCount(), 0u);
    for (int i = 0; i < 3; ++i)
        UndoList::Undo();
    texts = UndoHistoryTexts(false, more);
    EXPECT_FALSE(more);
    EXPECT_EQ(texts, (std::vector<std::string>{"&Redo Color Change", "&Redo Change of Scale", "&Redo Color Change"}));
    texts = UndoHistoryTexts(true, more);
    EXPECT_EQ(texts.size(), 20u);
    EXPECT_TRUE(more);
}

TEST(UndoKinds, NamesOutsideTheTableAndItemClasses)
{
    EXPECT_STREQ(UndoKindName(kUndoOpenBuiltInModel), "Open Built-in Model");
    EXPECT_STREQ(UndoKindName(kUndoImageOptions), "Image Options");
    EXPECT_STREQ(UndoKindName(-1), "operation");
    EXPECT_STREQ(UndoKindName(kUndoKindCount), "operation");
    // Whole-model kinds: 0-25 and 33-43.
    for (int kind : {0, 25, 33, 43})
        EXPECT_TRUE(IsWholeModelUndoKind(kind)) << kind;
    for (int kind : {-1, 26, 32, 44, 60})
        EXPECT_FALSE(IsWholeModelUndoKind(kind)) << kind;
}

// The scale item is the program's own: it exchanges the model scale of the unit settings.
TEST(ScaleUndo, UndoAndRedoExchangeTheModelScale)
{
    const DocumentSettings saved = GetDocumentSettings();
    UnitSettings& units = GetUnitSettings();
    const double savedScale = units.GetScale();
    ClearUndoList();
    SetUndoItemMaker(nullptr);
    RecordingShell shell;
    {
        ScopedShell scope(&shell);
        units.SetScale(2.0, false);
        AddUndo(kUndoScaleChange, false);
        units.SetScale(5.0, false);
        EXPECT_EQ(GetUndoSize(), 24);
        UndoList::Undo();
        EXPECT_DOUBLE_EQ(units.GetScale(), 2.0);
        UndoList::Redo();
        EXPECT_DOUBLE_EQ(units.GetScale(), 5.0);
        EXPECT_EQ(shell.Count("Info 1"), 2);
    }
    ClearUndoList();
    units.SetScale(savedScale, false);
    GetDocumentSettings() = saved;
}
}  // namespace
