#include "platform/HtmlSubset.h"

#include <gtest/gtest.h>

namespace
{
constexpr uint32_t kInk = 0x123456;
constexpr int kTwips = 200;

HtmlText Parse(const std::string& text)
{
    return ParseHtmlSubset(text, kInk, kTwips);
}

// The run that holds the first occurrence of a text.
const HtmlRun* RunWith(const HtmlText& parsed, const std::string& text)
{
    for (const HtmlRun& run : parsed.runs)
        if (run.text.find(text) != std::string::npos)
            return &run;
    return nullptr;
}
}  // namespace

TEST(HtmlSubsetTest, TextAsShown)
{
    struct Case
    {
        const char* name;
        const char* markup;
        const char* shown;
    };
    const Case kCases[] = {
        {"numbered list", "<ol><li>a<li>b</ol>", "    1. a\n    2. b"},
        {"nested bullets", "<ul><li>x<ul><li>y</ul></ul>", "    * x\n        - y"},
        {"text after a list stays on the item's line", "<ol><li>a</ol>after", "    1. aafter"},
        {"a line feed after a list starts a new line", "<ol><li>a</ol>\nafter", "    1. a\nafter"},
        {"continued item lines line up with the text", "<ol><li>a\nmore</ol>", "    1. a\n       more"},
        {"numbering starts again in a new list", "<ol><li>a</ol>\n<ol><li>b</ol>", "    1. a\n    1. b"},
        {"a bulleted list inside a numbered one", "<ol><li>a<ul><li>b</ul><li>c</ol>",
         "    1. a\n        - b\n    2. c"},
        {"lists deeper than nine levels keep the marks of level nine",
         "<ol><ol><ol><ol><ol><ol><ol><ol><ol><li>n<ul><li>m", "                                    1. n\n"
                                                                "                                        2. m"},
        {"entities", "&amp; &copy; &rarr; &gt; &lt; &ccedil;", "& \xC2\xA9 -> > < c"},
        {"entity names match as beginnings, the empty one the first", "&G;&;&AM;", ">->&"},
        {"an unknown entity is one space", "a&zz;b", "a b"},
        {"a name longer than the entity is unknown", "&amplifier;", " "},
        {"& without ; is text", "Q&A", "Q&A"},
        {"two < give one", "<<b>", "<b>"},
        {"a < without > is text", "x < y", "x < y"},
        {"other tags are dropped", "<p>para</p><img src=x>", "para"},
        {"tags match without case", "<B>b</B><FONT COLOR=red>r</Font>", "br"},
        {"line feeds, a CR LF is one", "first\nsecond\r\nthird", "first\nsecond\nthird"},
        {"a link without a closing quote ends the text", "before <a href=\"https://example.org>x</a> after",
         "before "},
        {"a link without href ends the text", "before <a name=x>x</a> after", "before "},
        {"a font tag without > ends the text", "before <font size=4 after", "before "},
        {"UTF-8 passes", "caf\xC3\xA9", "caf\xC3\xA9"},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(HtmlPlainText(Parse(c.markup)), c.shown);
    }
}

TEST(HtmlSubsetTest, BoldAndItalicWordsKeepThePlainSpaceBetween)
{
    const HtmlText parsed = Parse("<b>bold</b> <i>italic</i>");
    ASSERT_EQ(parsed.runs.size(), 3u);
    EXPECT_EQ(parsed.runs[0].text, "bold");
    EXPECT_EQ(parsed.runs[0].style, kHtmlBold);
    EXPECT_EQ(parsed.runs[1].text, " ");
    EXPECT_EQ(parsed.runs[1].style, 0);
    EXPECT_EQ(parsed.runs[2].text, "italic");
    EXPECT_EQ(parsed.runs[2].style, kHtmlItalic);
}

TEST(HtmlSubsetTest, FontSizesAndColoursAndTheirRestore)
{
    const HtmlText parsed = Parse("<font size=+2>big<font size=10 color=#00ff00>ten</font>back</font>plain"
                                  "<font color=orange size=-1>small</font><font color=OrangeRed>named</font>"
                                  "<font color=#0g0000>bad</font>");
    struct Expect
    {
        const char* text;
        int twips;
        uint32_t color;
    };
    const Expect kExpected[] = {
        {"big", kTwips + 80, kInk},       {"ten", 200, 0x00FF00},           {"back", kTwips + 80, kInk},
        {"plain", kTwips, kInk},          {"small", kTwips - 40, 0x007FFF}, {"named", kTwips, 0x007FFF},
        {"bad", kTwips, kInk},
    };
    for (const Expect& e : kExpected)
    {
        SCOPED_TRACE(e.text);
        const HtmlRun* run = RunWith(parsed, e.text);
        ASSERT_NE(run, nullptr);
        EXPECT_EQ(run->twips, e.twips);
        EXPECT_EQ(run->color, e.color);
    }
}

TEST(HtmlSubsetTest, MoreThanTenFontTagsRestoreOnlyTheFirstTen)
{
    std::string markup;
    for (int i = 1; i <= 12; ++i)
        markup += "<font size=" + std::to_string(i) + ">";
    markup += "x";
    for (int i = 0; i < 12; ++i)
        markup += "</font>" + std::string(1, char('a' + i));
    const HtmlText parsed = Parse(markup);
    // The eleventh and twelfth pushes were not kept: closing them leaves the size as it is.
    EXPECT_EQ(RunWith(parsed, "a")->twips, 12 * 20);
    EXPECT_EQ(RunWith(parsed, "b")->twips, 12 * 20);
    EXPECT_EQ(RunWith(parsed, "c")->twips, 9 * 20);
    EXPECT_EQ(RunWith(parsed, "l")->twips, kTwips);
}

TEST(HtmlSubsetTest, LinksAreUnderlinedBlueAndClickableOnlyWhenClosed)
{
    const HtmlText parsed =
        Parse("See <a href=\"https://example.org/x\">the <b>page</b></a> or <a href=\"mailto:a@b.c\">write");
    ASSERT_EQ(parsed.links.size(), 2u);
    EXPECT_EQ(parsed.links[0].target, "https://example.org/x");
    EXPECT_TRUE(parsed.links[0].closed);
    EXPECT_EQ(parsed.links[1].target, "mailto:a@b.c");
    EXPECT_FALSE(parsed.links[1].closed);
    for (const char* text : {"the ", "page", "write"})
    {
        SCOPED_TRACE(text);
        const HtmlRun* run = RunWith(parsed, text);
        ASSERT_NE(run, nullptr);
        EXPECT_TRUE(run->style & kHtmlUnderline);
        EXPECT_EQ(run->color, kInk | 0xFF0000);
        EXPECT_GE(run->link, 0);
    }
    EXPECT_TRUE(RunWith(parsed, "page")->style & kHtmlBold);
    EXPECT_EQ(RunWith(parsed, "See")->link, -1);
    EXPECT_EQ(RunWith(parsed, " or ")->link, -1);
    EXPECT_FALSE(RunWith(parsed, " or ")->style & kHtmlUnderline);
}
