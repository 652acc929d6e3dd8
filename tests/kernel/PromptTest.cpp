#include "kernel/Prompt.h"
#include "kernel/ScriptedServices.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

TEST(PromptTest, RealPromptStaysOpenOnABadEquationAndStoresTheValue)
{
    ScopedScriptedServices scope;
    ScriptedServices& s = scope.services;
    double value = 1.5;
    s.PushText("2+");
    s.PushText("2*r2");
    ASSERT_TRUE(PromptReal("Enter tab size", value));
    EXPECT_DOUBLE_EQ(value, 2.0 * std::sqrt(2.0));

    ASSERT_EQ(s.CountCalls("Prompt"), 2);  // opened, refused, still open
    EXPECT_EQ(s.calls[0].caption, "Enter a real number or equation");
    EXPECT_EQ(s.calls[0].text, "Enter tab size");
    ASSERT_EQ(s.promptStarts.size(), 2u);
    EXPECT_EQ(s.promptStarts[0], "1.5");
    EXPECT_EQ(s.promptStarts[1], "2+");  // the refused text is still in the field
    ASSERT_EQ(s.CountCalls("MessageBox"), 1);
    EXPECT_EQ(s.LastCall("MessageBox")->caption, "Error");
    EXPECT_EQ(s.LastCall("MessageBox")->text, "Error in equation:\nEquation ended early");
}

TEST(PromptTest, NumberPromptsStartWithTheValueAndCancelKeepsIt)
{
    ScopedScriptedServices scope;
    ScriptedServices& s = scope.services;

    double third = 1.0 / 3.0;
    s.PushText("", false);
    EXPECT_FALSE(PromptReal("x", third, "Set Duration"));
    EXPECT_EQ(third, 1.0 / 3.0);
    EXPECT_EQ(s.LastCall("Prompt")->caption, "Set Duration");
    EXPECT_EQ(s.promptStarts.back(), "0.333333333333333");

    float f = 1.0f / 3.0f;
    s.PushText("2^3^2");
    EXPECT_TRUE(PromptFloat("Enter line width for edges (in pixels)", f));
    EXPECT_EQ(s.promptStarts.back(), "0.3333333");
    EXPECT_EQ(f, 512.0f);

    // OK on the unchanged text keeps the value itself, not its 15-digit form.
    double sum = 0.1 + 0.2;
    EXPECT_TRUE(PromptReal("x", sum));
    EXPECT_EQ(s.promptStarts.back(), "0.3");
    EXPECT_EQ(sum, 0.1 + 0.2);
    EXPECT_EQ(s.CountCalls("MessageBox"), 0);
}

TEST(PromptTest, TextPromptFillsTheBufferWithinItsSize)
{
    ScopedScriptedServices scope;
    ScriptedServices& s = scope.services;
    struct Case
    {
        const char* name;
        const char* typed;
        int size;
        const char* stored;
    };
    const Case kCases[] = {
        {"fits", "3 7", 80, "3 7"},
        {"cut to size - 1", "abcdefghij", 8, "abcdefg"},
        {"never inside a character", "ab\xC3\xA9", 4, "ab"},
        {"a whole character that fits", "a\xC3\xA9", 4, "a\xC3\xA9"},
        {"empty", "", 4, ""},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        char buffer[80];
        std::strcpy(buffer, "old");
        s.PushText(c.typed);
        ASSERT_TRUE(PromptText("What two polygons should the duoprism be based on?", buffer, c.size));
        EXPECT_STREQ(buffer, c.stored);
        EXPECT_EQ(s.promptStarts.back(), "old");
        EXPECT_EQ(s.LastCall("Prompt")->caption, "Enter text");
        EXPECT_EQ(s.LastCall("Prompt")->type, 0u);  // one line
    }
    char buffer[8] = "keep";
    s.PushText("typed", false);
    EXPECT_FALSE(PromptText("x", buffer, sizeof buffer, "Base Name"));
    EXPECT_STREQ(buffer, "keep");
    EXPECT_EQ(s.LastCall("Prompt")->caption, "Base Name");
}

TEST(PromptTest, StringPromptIsMultiLineAndReplacesTheText)
{
    ScopedScriptedServices scope;
    ScriptedServices& s = scope.services;
    std::string comments = "first\nsecond";
    int position[2] = {-1, -1};
    int size[2] = {0, 0};
    s.PushText("one\ntwo\nthree");
    EXPECT_TRUE(PromptString("Comments about this model", comments, nullptr, position, size));
    EXPECT_EQ(comments, "one\ntwo\nthree");
    EXPECT_EQ(s.LastCall("Prompt")->caption, "Enter a string");
    EXPECT_EQ(s.LastCall("Prompt")->type, 1u);
    EXPECT_EQ(s.promptStarts.back(), "first\nsecond");

    s.PushText("lost", false);
    EXPECT_FALSE(PromptString("Comments about this model", comments));
    EXPECT_EQ(comments, "one\ntwo\nthree");
}

TEST(PromptTest, WholeNumbersAreReadWithTheirSignAndNothingElse)
{
    struct Case
    {
        const char* text;
        bool ok;
        int value;
    };
    const Case kCases[] = {
        {"-12", true, -12},        {"  +7 ", true, 7},         {"0", true, 0},
        {"2147483647", true, 2147483647}, {"-2147483648", true, -2147483647 - 1},
        {"2147483648", false, 0},  {"1.5", false, 0},          {"12abc", false, 0},
        {"", false, 0},            {"-", false, 0},            {"- 3", false, 0},
        {"0x10", false, 0},        {"1e3", false, 0},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.text);
        int value = 99;
        EXPECT_EQ(ReadWholeNumber(c.text, value), c.ok);
        EXPECT_EQ(value, c.ok ? c.value : 99);
    }
}

TEST(PromptTest, IntegerPromptTakesAWholeNumberAndCancelKeepsTheValue)
{
    ScopedScriptedServices scope;
    ScriptedServices& s = scope.services;

    int value = 5;
    s.PushText("-12");
    ASSERT_TRUE(PromptInteger("Maximum number of faces allowed per net:", value));
    EXPECT_EQ(value, -12);
    EXPECT_EQ(s.LastCall("Integer")->caption, "Enter a number");
    EXPECT_EQ(s.LastCall("Integer")->text, "Maximum number of faces allowed per net:");
    EXPECT_EQ(s.promptStarts.back(), "5");

    s.PushText("", false);
    EXPECT_FALSE(PromptInteger("x", value));
    EXPECT_EQ(value, -12);

    // Text that is not a whole number keeps the prompt open with that text; Cancel then keeps the
    // value as it was.
    s.Clear();
    s.PushText("1.5");
    s.PushText("2", false);
    EXPECT_FALSE(PromptInteger("x", value));
    EXPECT_EQ(value, -12);
    ASSERT_EQ(s.CountCalls("Integer"), 2);
    EXPECT_EQ(s.promptStarts[1], "1.5");

    s.Clear();
    s.PushText("abc");
    s.PushText("40");
    EXPECT_TRUE(PromptInteger("x", value));
    EXPECT_EQ(value, 40);
    EXPECT_EQ(s.CountCalls("Integer"), 2);
}
