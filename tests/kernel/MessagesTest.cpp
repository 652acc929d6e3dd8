#include "kernel/ColorToHtml.h"
#include "kernel/Messages.h"
#include "kernel/StatusText.h"
#include "kernel/ScriptedServices.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace
{
// Keeps the optional-message masks of one test from leaking into the next.
class MessagesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mRunMask = OptionalMessageRunMask();
        mStored = ShowMessagesSetting();
        OptionalMessageRunMask() = 0xFFFFFFFFu;
        ShowMessagesSetting() = 0xFFFFFFFFu;
    }
    void TearDown() override
    {
        OptionalMessageRunMask() = mRunMask;
        ShowMessagesSetting() = mStored;
    }

    ScopedScriptedServices mScope;
    ScriptedServices& mServices = mScope.services;

private:
    uint32_t mRunMask = 0;
    uint32_t mStored = 0;
};

std::vector<std::string> gTrace;
void RecordTrace(const char* text)
{
    gTrace.emplace_back(text);
}
}  // namespace

TEST_F(MessagesTest, LongTextsAreCutWithEllipsis)
{
    const std::string long600(600, 'x');
    ErrorMessage("%s", long600.c_str());
    const std::string& shown = mServices.LastCall()->text;
    EXPECT_EQ(shown.size(), 511u);
    EXPECT_EQ(shown.substr(0, 508), long600.substr(0, 508));
    EXPECT_EQ(shown.substr(508), "...");

    const std::string exact511(511, 'y');
    WarningMessage("%s", exact511.c_str());
    EXPECT_EQ(mServices.LastCall()->text, exact511);  // fits with its terminator

    const std::string long900(900, 'z');
    InfoMessage("%s", long900.c_str());
    EXPECT_EQ(mServices.LastCall()->text.size(), 799u);
    const std::string info799(799, 'z');
    InfoMessage("%s", info799.c_str());
    EXPECT_EQ(mServices.LastCall()->text, info799);
}

TEST_F(MessagesTest, CaptionsAndTypes)
{
    struct Case
    {
        const char* name;
        int (*show)(const char*, ...);
        const char* caption;
        unsigned type;
    };
    const Case cases[] = {
        {"error", ErrorMessage, "Error", kMbOk | kMbIconStop},
        {"internal", InternalError, "Internal Error", kMbOk | kMbIconStop},
        {"warning", WarningMessage, "Warning", kMbOk | kMbIconExclamation},
        {"info", InfoMessage, "Information", kMbOk | kMbIconInformation},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        c.show("%s %d", "text", 5);
        EXPECT_EQ(mServices.LastCall()->caption, c.caption);
        EXPECT_EQ(mServices.LastCall()->type, c.type);
        EXPECT_EQ(mServices.LastCall()->text, "text 5");
    }

    mServices.PushAnswer(kIdNo);
    EXPECT_FALSE(AskYesNo("Sure?"));
    EXPECT_EQ(mServices.LastCall()->caption, "Question");
    mServices.PushAnswer(kIdYes);
    EXPECT_TRUE(AskYesNo("Sure?"));
    mServices.PushAnswer(kIdCancel);
    EXPECT_FALSE(AskOkCancel("Go?"));
    EXPECT_EQ(mServices.LastCall()->type, kMbOkCancel | kMbIconQuestion);

    struct ShowCase
    {
        unsigned type;
        const char* caption;
    };
    const ShowCase shows[] = {{kMbYesNoCancel | kMbIconQuestion, "Question"},
                              {kMbYesNo | kMbIconExclamation, "Warning"},
                              {kMbOk | kMbIconStop, "Error"},
                              {kMbYesNo, "Question"},
                              {kMbOk | kMbIconInformation, "Question"}};
    for (const ShowCase& s : shows)
    {
        mServices.PushAnswer(kIdNo);
        EXPECT_EQ(ShowMessage(s.type, "x"), kIdNo);
        EXPECT_EQ(mServices.LastCall()->caption, s.caption) << s.type;
    }
}

TEST_F(MessagesTest, ReportLastErrorAddsTheSystemText)
{
    errno = ENOENT;
    ReportLastError("Can't open %s", "model.orva");
    EXPECT_EQ(mServices.LastCall()->text, std::string("Can't open model.orva: ") + std::strerror(ENOENT));
    EXPECT_EQ(mServices.LastCall()->caption, "Error");

    errno = 0;
    ReportLastError("Step");
    EXPECT_EQ(mServices.LastCall()->text, "Step: Failed with error code 0");
    errno = 123456;
    ReportLastError("Step");
    EXPECT_EQ(mServices.LastCall()->text, "Step: Failed with error code 123456");
}

TEST_F(MessagesTest, OptionalMessagesOncePerRun)
{
    // Ticked: not again this run, still allowed in later runs.
    ShowOptionalMessage(kOptionalMsgLowColorDepth, kOptExclamationIcon | kOptOncePerRun, "Low colour depth");
    EXPECT_EQ(mServices.CountCalls("OptionalMessage"), 1);
    ShowOptionalMessage(kOptionalMsgLowColorDepth, kOptExclamationIcon | kOptOncePerRun, "Low colour depth");
    EXPECT_EQ(mServices.CountCalls("OptionalMessage"), 1);
    EXPECT_TRUE(ShowMessagesSetting() & kOptionalMsgLowColorDepth);

    // Unticked: also cleared from the stored setting.
    mServices.PushAnswer(0);
    ShowOptionalMessage(kOptionalMsg256Colors, kOptOncePerRun, "256 colours");
    EXPECT_EQ(mServices.CountCalls("OptionalMessage"), 2);
    EXPECT_FALSE(OptionalMessageRunMask() & kOptionalMsg256Colors);
    EXPECT_FALSE(ShowMessagesSetting() & kOptionalMsg256Colors);
}

TEST_F(MessagesTest, OptionalMessagesWithoutOncePerRun)
{
    const uint32_t kind = 0x100;
    ShowOptionalMessage(kind, 0, "again and again");
    ShowOptionalMessage(kind, 0, "again and again");
    EXPECT_EQ(mServices.CountCalls("OptionalMessage"), 2);  // ticked: nothing changes

    mServices.PushAnswer(0);
    ShowOptionalMessage(kind, 0, "again and again");
    EXPECT_FALSE(OptionalMessageRunMask() & kind);
    EXPECT_TRUE(ShowMessagesSetting() & kind);  // only the run mask
    ShowOptionalMessage(kind, 0, "again and again");
    EXPECT_EQ(mServices.CountCalls("OptionalMessage"), 3);

    // A kind switched off in the stored setting shows nothing.
    ShowMessagesSetting() &= ~0x200u;
    ShowOptionalMessage(0x200, kOptOncePerRun, "never");
    EXPECT_EQ(mServices.CountCalls("OptionalMessage"), 3);
}

TEST_F(MessagesTest, TraceScopesReportEveryExit)
{
    gTrace.clear();
    const TraceSink previous = SetTraceSink(RecordTrace);
    {
        TraceScope scope("DeleteUnusedVertices");
        scope.SetStep("merging");
    }
    {
        TraceGuard guard("Guarded");
        guard.End();
    }
    ErrorMessage("bad %d", 1);
    WarningMessage("careful");
    InfoMessage("not traced");
    SetTraceSink(previous);
    const std::vector<std::string> expected = {"DeleteUnusedVertices\n", "merging\n", "DeleteUnusedVertices done\n",
                                               "Guarded\n", "Guarded done\n", "ERROR: bad 1\n", "WARNING: careful\n"};
    EXPECT_EQ(gTrace, expected);
}

TEST_F(MessagesTest, ModalBoxesReleaseTheRenderingContext)
{
    static int depth = 0;
    static int suspended = 0;
    static int resumed = 0;
    depth = 2;
    SetGLContextHooks(
        [](GLContextSuspension& state, bool) {
            state.depth = depth;
            depth = 0;
            ++suspended;
        },
        [](const GLContextSuspension& state, bool) {
            depth = state.depth;
            ++resumed;
        });
    ErrorMessage("while drawing");
    ShowOptionalMessage(0x400, 0, "optional");
    SetGLContextHooks(nullptr, nullptr);
    EXPECT_EQ(suspended, 2);
    EXPECT_EQ(resumed, 2);
    EXPECT_EQ(depth, 2);  // the bracket depth is back as it was
}

TEST_F(MessagesTest, StatusTextIsFormattedAndCut)
{
    SetStatusText("Selected %d-fold rotational symmetry axis", 5);
    EXPECT_EQ(mServices.statusText, "Selected 5-fold rotational symmetry axis");
    const std::string long600(600, 's');
    SetStatusText("%s", long600.c_str());
    EXPECT_EQ(mServices.statusText, long600.substr(0, 508) + "...");
}

TEST(ColorToHtml, ChannelsAreRoundedAndHeld)
{
    EXPECT_EQ(ColorToHtml(ColorRGB{1.0f, 0.5f, 0.0f}), "#ff8000");
    EXPECT_EQ(ColorToHtml(ColorRGB{0.2f, 0.4f, 0.6f}), "#336699");
    EXPECT_EQ(ColorToHtml(ColorRGB{1.5f, -0.2f, 0.999f}), "#ff00ff");
}
