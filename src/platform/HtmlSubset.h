#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The program's small HTML subset, as its messages, prompts and dialogs write it: <b>, <i>,
// <font color=... size=...>, <ul>, <ol>, <li>, <a href="...">, line feeds, "<<" for a literal "<",
// and the entities rarr, gt, lt, ccedil, amp and copy. The text is parsed in one pass into runs of
// equal formatting, which the rich text control appends one after another.

enum HtmlStyle
{
    kHtmlBold = 1,
    kHtmlItalic = 2,
    kHtmlUnderline = 4,
};

struct HtmlRun
{
    std::string text;  // UTF-8; may hold line feeds
    int style = 0;     // HtmlStyle bits
    uint32_t color = 0;  // 0x00BBGGRR
    int twips = 0;     // character size, 20 to the point
    int link = -1;     // index into HtmlText::links, -1 outside links
};

struct HtmlLink
{
    std::string target;
    bool closed = false;  // only a link that saw its "</a>" can be clicked
};

struct HtmlText
{
    std::vector<HtmlRun> runs;
    std::vector<HtmlLink> links;
};

// Runs start in the given colour and size. A link with no href="..." after it, or a <font or <a
// tag with no '>' after it, ends the parsing there: the text before it stays.
HtmlText ParseHtmlSubset(const std::string& text, uint32_t color, int twips);

// The text of all runs, as the control shows it.
std::string HtmlPlainText(const HtmlText& parsed);
