#include "platform/HtmlText.h"

#include <gtest/gtest.h>

TEST(HtmlTextTest, SubsetBecomesHtmlForTheWxWindow)
{
    struct Case
    {
        const char* name;
        const char* subset;
        const char* html;
    };
    const Case kCases[] = {
        {"line breaks", "first\nsecond\r\nthird", "first<br>second<br>third"},
        {"subset tags pass", "<b>bold</b> <i>it</i>", "<b>bold</b> <i>it</i>"},
        {"tags match without case", "<FONT COLOR=red>r</Font>", "<FONT COLOR=red>r</Font>"},
        {"lists", "<ul><li>x<ol><li>y</ol></ul>", "<ul><li>x<ol><li>y</ol></ul>"},
        {"links", "<a href=\"https://example.org/x\">click here</a>.",
         "<a href=\"https://example.org/x\">click here</a>."},
        {"other tags are dropped", "<p>para</p><img src=x>", "para"},
        {"two < give one", "Enter a value for <<N>", "Enter a value for &lt;N&gt;"},
        {"a < without > is text", "x < y", "x &lt; y"},
        {"entities of the subset", "&amp; &copy; &rarr; &gt; &lt; &ccedil;", "&amp; &copy; -&gt; &gt; &lt; c"},
        {"entity names match as beginnings", "&G; &; &AM;", "&gt; -&gt; &amp;"},
        {"unknown entity is a space", "a&zz;b", "a b"},
        {"& without ; is text", "Q&A", "Q&amp;A"},
        {"runs of spaces stay", " a  b", "&nbsp;a &nbsp;b"},
        {"UTF-8 passes", "caf\xC3\xA9", "caf\xC3\xA9"},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(HtmlSubsetToWxHtml(c.subset), wxString::FromUTF8(c.html));
    }
}
